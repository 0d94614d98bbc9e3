#pragma once
#include <QString>
#include <cstdint>
#include <optional>

// The sound requests as the main window makes them. The services that carry
// them out live in sound/, which only the program itself links: the window and
// the tests' fakes see this header alone.
namespace platform {

inline constexpr std::uint32_t SND_ASYNC = 1;
inline constexpr std::uint32_t SND_NODEFAULT = 2;
inline constexpr std::uint32_t SND_LOOP = 8;

// The two ways the program plays a file.
inline constexpr std::uint32_t PlayAndWait = SND_NODEFAULT;
inline constexpr std::uint32_t PlayLoop = SND_ASYNC | SND_NODEFAULT | SND_LOOP;

// The program's three sound requests:
//   play once and wait   (name, SND_NODEFAULT)
//   play in a loop       (name, SND_ASYNC | SND_NODEFAULT | SND_LOOP)
//   stop                 (no name, any flags)
// A new request replaces whatever is playing. A missing or unplayable file is silent.
class SoundService {
public:
    virtual ~SoundService() = default;
    virtual void sndPlaySound(const std::optional<QString>& name, std::uint32_t flags) = 0;
};

}  // namespace platform
