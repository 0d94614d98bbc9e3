#pragma once
#include <QString>

namespace platform {

// What every loader returns: how it went (Status::Ok or the reason it failed),
// the file it read, and what it loaded, which is valid only when it went well.
// A loader's reasons are one closed set; those the user reads have one Japanese
// text each. The first reason of each set means that nothing was read, so a
// result made by default has not loaded.
template <typename S, typename T>
struct Loaded {
    using Status = S;
    Status status{};
    QString path;
    T value{};
    bool ok() const { return status == Status::Ok; }
};

}  // namespace platform
