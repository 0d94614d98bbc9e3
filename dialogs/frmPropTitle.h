#pragma once
#include "dialogs/FormatDialog.h"

#include <QString>

// Restyles the title label: every click is applied to the label at once, and
// the dialog keeps no state of its own beyond what its controls show.
class frmPropTitle : public FormatDialog {
    Q_OBJECT
public:
    // The caption the main window finds this dialog by.
    static inline const QString Caption = QStringLiteral("タイトルの書式");

    explicit frmPropTitle(StyledLabel* target, QWidget* parent = nullptr);

private:
    void connectHandlers();
    // Runs once, when the dialog is created, before it is first shown.
    void Form_Load();

    // Each writes one property of the label. They run on a click, and whenever
    // an option is selected or a box changes from code.
    void optRed_Click();
    void optGreen_Click();
    void optBlue_Click();
    void opt24_Click();
    void opt26_Click();
    void opt28_Click();
    void optPG_Click();
    void optPM_Click();
    void optG_Click();
    void optM_Click();
    void chkBold_Click();
    void chkItalic_Click();
    void chkUnder_Click();

    QRadioButton* optRed = nullptr;
    QRadioButton* optGreen = nullptr;
    QRadioButton* optBlue = nullptr;
    QRadioButton* opt24 = nullptr;
    QRadioButton* opt26 = nullptr;
    QRadioButton* opt28 = nullptr;
};
