#pragma once
#include <QString>
#include <QWidget>

class StyledLabel;

class frmPropTitle : public QWidget {
    Q_OBJECT
public:
    // The caption the main window finds this dialog by.
    static inline const QString Caption = QStringLiteral("タイトルの書式");

    explicit frmPropTitle(StyledLabel* target, QWidget* parent = nullptr);

private:
    void Form_Load();

    StyledLabel* m_label;
};
