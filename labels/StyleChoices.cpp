#include "labels/StyleChoices.h"

#include "platform/Fonts.h"

namespace StyleChoices {

int MatchColor(std::uint32_t foreColor, std::span<const std::uint32_t> colors)
{
    for (std::size_t i = 0; i < colors.size(); ++i) {
        if (colors[i] == foreColor)
            return static_cast<int>(i);
    }
    return NoOption;
}

int MatchSize(std::int64_t sizeUnits, std::span<const SizeWindow> windows)
{
    for (std::size_t i = 0; i < windows.size(); ++i) {
        if (windows[i].low <= sizeUnits && sizeUnits <= windows[i].high)
            return static_cast<int>(i);
    }
    return NoOption;
}

int MatchFace(const QString& name, std::span<const QString> faces)
{
    for (std::size_t i = 0; i < faces.size(); ++i) {
        if (faces[i] == name)
            return static_cast<int>(i);
    }
    return NoOption;
}

const std::array<QString, 4>& Faces()
{
    // Built on first use: the names are themselves initialised at start-up.
    static const std::array<QString, 4> faces = {platform::FacePGothic, platform::FacePMincho, platform::FaceGothic,
                                                 platform::FaceMincho};
    return faces;
}

}  // namespace StyleChoices
