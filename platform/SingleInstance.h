#pragma once
#include <QString>
#include <memory>

class QLocalServer;

namespace platform {

// Holds the program's claim to be the one running copy on this desktop. The
// claim is a socket name in the abstract namespace: the kernel lets only one
// process bind it, drops it when that process ends in any way (a crash too),
// and no file is ever written for it.
class SingleInstance {
public:
    explicit SingleInstance(const QString& key);
    ~SingleInstance();

    // True when another copy already holds the claim. The first call makes the
    // claim; later calls answer the same.
    bool PrevInstance();

    // The key for this user's desktop: the title, the user and the display.
    static QString DesktopKey(const QString& title);

private:
    QString m_key;
    std::unique_ptr<QLocalServer> m_server;
    int m_answer = -1;
};

}  // namespace platform
