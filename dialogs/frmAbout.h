#pragma once
#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;
class StyledLabel;

// The version box: the title, the version and a few words about the program next
// to the icon, with one button that closes it. Modeless and without an owner, so
// the main window and the flight stay usable while it is open.
class frmAbout : public QWidget {
    Q_OBJECT
public:
    // The caption the main window finds the box by: the title, then "のﾊﾞｰｼﾞｮﾝ情報".
    static QString CaptionFor(const QString& title) { return title + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"); }
    // "ﾊﾞｰｼﾞｮﾝ " and the three numbers in plain decimal, then CR LF and the notice line.
    static QString VersionText(int major, int minor, int revision);
    // The four description lines joined by CR LF, with none after the last.
    static QString DescriptionText();
    static const QString NoticeLine;

    // Builds the box and runs its Form_Load; showing it is the caller's business.
    explicit frmAbout(QWidget* parent = nullptr);

    // True once the box has been closed: it is only waiting to be deleted and
    // must not be shown again.
    bool Unloaded() const { return m_unloaded; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void cmdOK_Click();
    void createControls();
    void Form_Load();

    QPushButton* cmdOK = nullptr;
    QLabel* picIcon = nullptr;
    StyledLabel* lblDescription = nullptr;
    StyledLabel* lblTitle = nullptr;
    StyledLabel* lblVersion = nullptr;
    bool m_unloaded = false;
};
