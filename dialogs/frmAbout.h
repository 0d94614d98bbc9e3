#pragma once
#include <QString>
#include <QWidget>

class frmAbout : public QWidget {
    Q_OBJECT
public:
    // The caption the main window finds the box by: the title, then "のﾊﾞｰｼﾞｮﾝ情報".
    static QString CaptionFor(const QString& title) { return title + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"); }

    explicit frmAbout(QWidget* parent = nullptr);

private:
    void Form_Load();
};
