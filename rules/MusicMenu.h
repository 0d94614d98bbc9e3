#pragma once
#include <cstdint>

// The rule of the music menu: which sound request a choice makes, given whether
// the music is on. Choosing the state that is already current does nothing at all,
// so the loop is never restarted by it.
namespace MusicMenu {

enum class Request { None, StartLoop, StopLoop };

inline constexpr int Playing = 0;  // "演奏中(&P)"
inline constexpr int Stopped = 1;  // "停止中(&N)"

// bgmOn is a 16-bit flag: any non-zero value means on.
constexpr Request Choose(int index, std::int16_t bgmOn)
{
    if (index == Playing && bgmOn == 0)
        return Request::StartLoop;
    if (index == Stopped && bgmOn != 0)
        return Request::StopLoop;
    return Request::None;
}

}  // namespace MusicMenu
