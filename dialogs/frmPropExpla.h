#pragma once
#include <QString>
#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class StyledLabel;

// Restyles the explanation label: the options and boxes only collect choices,
// which "実行" applies together; closing drops what was not applied.
class frmPropExpla : public QWidget {
    Q_OBJECT
public:
    // The caption the main window finds this dialog by.
    static inline const QString Caption = QStringLiteral("説明文の書式");

    explicit frmPropExpla(StyledLabel* target, QWidget* parent = nullptr);

private:
    friend class Probe;

    void cmdSet_Click();

    QGroupBox* fraColor = nullptr;
    QRadioButton* optBlack = nullptr;
    QRadioButton* optGreen = nullptr;
    QRadioButton* optBlue = nullptr;
    QGroupBox* fraSize = nullptr;
    QRadioButton* opt8 = nullptr;
    QRadioButton* opt9 = nullptr;
    QRadioButton* opt10 = nullptr;
    QGroupBox* fraFont = nullptr;
    QRadioButton* optPG = nullptr;
    QRadioButton* optPM = nullptr;
    QRadioButton* optG = nullptr;
    QRadioButton* optM = nullptr;
    QCheckBox* chkBold = nullptr;
    QCheckBox* chkItalic = nullptr;
    QCheckBox* chkUnder = nullptr;
    QPushButton* cmdSet = nullptr;

    void createControls();
    // Runs once, when the dialog is created; it only reads the label.
    void Form_Load();

    StyledLabel* m_label;
    QButtonGroup* m_colors = nullptr;
    QButtonGroup* m_sizes = nullptr;
    QButtonGroup* m_faces = nullptr;
};
