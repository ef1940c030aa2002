#include "shell/state_dump.h"

#include <nlohmann/json.hpp>

#include "media/inspect.h"
#include "project/project.h"
#include "shell/game.h"
#include "sys/sys.h"

using nlohmann::json;

namespace {

std::string Utf8(const TString& s) { return sys::Cp932ToUtf8(s.c_str()); }

json MenuJson(const TMenu& menu) {
    json items = json::array();
    for (const TString& item : menu.items) items.push_back(Utf8(item));
    return json{{"items", items},          {"cursor", menu.cursor},
                {"x", menu.x},             {"y", menu.y},
                {"cells", menu.widthCells}, {"repeat", menu.repeatCounter},
                {"highlight", menu.highlight}, {"decision", menu.decision}};
}

}  // namespace

std::string DumpState(const TGame& game) {
    json j;
    j["frame"] = game.frame;
    j["states"] = json(std::vector<int32_t>(game.states.begin(), game.states.end()));
    j["fade"] = game.app.fade;
    j["quit"] = game.app.quitRequest;
    j["fps"] = FrameTiming().displayedRate;
    j["randCalls"] = sys::RandCalls();
    j["shell"] = {{"titleDelay", game.titleDelay},
                  {"configDelay", game.configDelay},
                  {"toggleCounter", game.toggleCounter}};
    j["settings"] = {{"showFps", game.setting.showFps}, {"windowed", game.setting.windowed}};
    j["menu"] = MenuJson(game.menu);
    j["background"] = {{"sprite", game.world.background.sprite},
                       {"position", game.world.background.position},
                       {"speed", game.world.background.speed},
                       {"period", game.world.background.period},
                       {"frame", game.world.background.frame}};
    j["soundStarts"] = json::array();
    return j.dump(2) + "\n";
}
