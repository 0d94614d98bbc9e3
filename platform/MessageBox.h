#pragma once
#include <QString>

class QWidget;

namespace platform {

// Style numbers: buttons plus icon.
inline constexpr int vbOKOnly = 0;
inline constexpr int vbYesNo = 4;
inline constexpr int vbCritical = 16;
inline constexpr int vbExclamation = 48;
// Answers.
inline constexpr int vbOK = 1;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

// Modal message boxes go through this service so that tests can answer them.
class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // Shows text under title with the style's buttons and icon; returns the answer.
    virtual int MsgBox(const QString& text, int style, const QString& title) = 0;
};

// The real, modal boxes.
class QtMessageBoxService : public MessageBoxService {
public:
    int MsgBox(const QString& text, int style, const QString& title) override;
};

}  // namespace platform
