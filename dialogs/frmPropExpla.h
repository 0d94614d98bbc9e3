#pragma once
#include <QString>
#include <QWidget>

class StyledLabel;

class frmPropExpla : public QWidget {
    Q_OBJECT
public:
    // The caption the main window finds this dialog by.
    static inline const QString Caption = QStringLiteral("説明文の書式");

    explicit frmPropExpla(StyledLabel* target, QWidget* parent = nullptr);

private:
    void Form_Load();

    StyledLabel* m_label;
};
