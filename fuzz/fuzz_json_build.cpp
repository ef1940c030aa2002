// orvan-tool's build: arbitrary bytes as the JSON form of a project, built into records in
// memory and encoded as the files it would write. Assets are looked up in a scratch folder
// holding one file of each kind, so that both found and missing assets are exercised.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "project/record_writer.h"
#include "project_json.h"
#include "tool_project.h"

namespace {

std::string MakeAssetDir() {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("orvan-fuzz-assets-" + std::to_string(getpid()));
    fs::create_directories(dir);
    for (const char* name : {"a.png", "a.wav", "a.ogg"}) std::ofstream(dir / name) << "x";
    return dir.string();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string assetDir = MakeAssetDir();
    tool::Json json = tool::Json::parse(data, data + size, nullptr, false);
    if (json.is_discarded()) return 0;
    tool::ToolProject project;
    try {
        tool::ProjectFromJson(json, assetDir, project);
    } catch (const tool::ToolError&) {
        return 0;
    }
    // Encode what was built, as saving would, and read it back with the game's parsers.
    const TProject& p = *project.project;
    for (const TEnemyDef& enemy : p.enemies) {
        ByteWriter out;
        WriteEnemyDef(out, enemy);
        ByteReader in(out.bytes());
        TEnemyDef back;
        if (!ReadEnemyDef(in, back)) __builtin_trap();
    }
    ByteWriter scene;
    WriteScene(scene, p.scene);
    ByteReader in(scene.bytes());
    std::vector<TSceneCommand> back;
    if (!ReadScene(in, back) || back.size() != p.scene.size()) __builtin_trap();
    return 0;
}
