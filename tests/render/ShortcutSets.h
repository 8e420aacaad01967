// The renderer's shortcut choices the redraw tests run under: all on, each
// one off alone, and all off. Every choice must give the literal picture.
#pragma once

#include "render/Shortcuts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rendertest {

struct ShortcutSet {
    std::string name; // a test-name part: "all", "no_cover", "none"
    halvorn::RenderShortcuts shortcuts;
};

inline std::vector<ShortcutSet> RenderShortcutSets()
{
    using namespace halvorn;
    std::vector<ShortcutSet> sets{{"all", RenderShortcuts()}};
    for (const Shortcut s : AllShortcuts)
        sets.push_back({"no_" + std::string(ShortcutName(s)), RenderShortcuts().Without(s)});
    sets.push_back({"none", RenderShortcuts::AllOff()});
    return sets;
}

inline std::string SetName(const ::testing::TestParamInfo<ShortcutSet>& info)
{
    return info.param.name;
}

} // namespace rendertest
