#pragma once
#include "dialogs/FormatDialog.h"

#include <QString>

class QPushButton;

// Restyles the explanation label: the options and boxes only collect choices,
// which "実行" applies together; closing drops what was not applied.
class frmPropExpla : public FormatDialog {
    Q_OBJECT
public:
    // The caption the main window finds this dialog by.
    static inline const QString Caption = QStringLiteral("説明文の書式");

    explicit frmPropExpla(StyledLabel* target, QWidget* parent = nullptr);

private:
    // Runs once, when the dialog is created; it only reads the label.
    void Form_Load();
    void cmdSet_Click();

    QRadioButton* optBlack = nullptr;
    QRadioButton* optGreen = nullptr;
    QRadioButton* optBlue = nullptr;
    QRadioButton* opt8 = nullptr;
    QRadioButton* opt9 = nullptr;
    QRadioButton* opt10 = nullptr;
    QPushButton* cmdSet = nullptr;
};
