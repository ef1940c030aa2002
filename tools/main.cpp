// orvan-tool: a project as readable JSON and back, and a check of a data folder.
//
//   orvan-tool dump DATA_DIR OUT.json        ("-" writes to standard output)
//   orvan-tool build IN.json DATA_DIR [--assets DIR]
//   orvan-tool check DATA_DIR
//   orvan-tool sheet DATA_DIR OUT.png
//   orvan-tool timeline DATA_DIR OUT.png
//   orvan-tool trace DATA_DIR ENEMY OUT.png [--frames N] [--seed S] [--place P --position X
//                                           --speed V --angle A]
//
// Exit codes: 0 done (check: no error found), 1 a failure or errors found, 2 a usage error.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "check.h"
#include "pictures.h"
#include "project_json.h"
#include "tool_project.h"

namespace fs = std::filesystem;
using namespace tool;

namespace {

int Dump(const std::string& dataDir, const std::string& outPath) {
    ToolProject tp;
    LoadToolProject(dataDir, tp);
    std::string text = FormatJson(ProjectToJson(tp));
    if (outPath == "-") {
        std::cout << text;
        return 0;
    }
    std::ofstream out(outPath, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw ToolError(outPath + ": cannot write");
    return 0;
}

int Build(const std::string& jsonPath, const std::string& dataDir, std::string assetDir) {
    std::ifstream in(jsonPath, std::ios::binary);
    if (!in) throw ToolError(jsonPath + ": cannot read");
    std::stringstream text;
    text << in.rdbuf();
    Json json;
    try {
        json = Json::parse(text.str());
    } catch (const Json::parse_error& e) {
        throw ToolError(jsonPath + ": " + e.what());
    }
    // Asset paths are relative to the JSON file's folder unless told otherwise.
    if (assetDir.empty()) assetDir = fs::absolute(jsonPath).parent_path().string();
    ToolProject tp;
    try {
        ProjectFromJson(json, assetDir, tp);
    } catch (const ToolError& e) {
        throw ToolError(jsonPath + ": " + e.what());
    }
    SaveToolProject(tp, dataDir, assetDir);
    return 0;
}

int Check(const std::string& dataDir) {
    std::vector<Problem> problems = CheckProject(dataDir);
    size_t errors = 0, warnings = 0;
    for (const Problem& p : problems) {
        std::cout << p.Line() << "\n";
        (p.error ? errors : warnings) += 1;
    }
    std::cout << dataDir << ": " << errors << " errors, " << warnings << " warnings\n";
    return errors ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "orvan-tool: dump a project to JSON, build one from JSON, check one, draw pictures of "
        "one"};
    app.require_subcommand(1);

    std::string dataDir, jsonPath, assetDir;
    CLI::App* dump = app.add_subcommand("dump", "Write the project in DATA_DIR as JSON");
    dump->add_option("DATA_DIR", dataDir, "the data folder")->required();
    dump->add_option("OUT", jsonPath, "the JSON file to write, - for standard output")->required();

    CLI::App* build = app.add_subcommand("build", "Write the project described by JSON");
    build->add_option("IN", jsonPath, "the JSON file")->required();
    build->add_option("DATA_DIR", dataDir, "the data folder to write")->required();
    build->add_option("--assets", assetDir,
                      "folder that image and sound paths are relative to (default: the JSON "
                      "file's folder)");

    CLI::App* check = app.add_subcommand("check", "Report what the game would meet silently");
    check->add_option("DATA_DIR", dataDir, "the data folder")->required();

    std::string pngPath;
    CLI::App* sheet = app.add_subcommand("sheet", "Draw every sprite's pictures on one sheet");
    sheet->add_option("DATA_DIR", dataDir, "the data folder")->required();
    sheet->add_option("OUT", pngPath, "the PNG file to write")->required();
    CLI::App* timeline =
        app.add_subcommand("timeline", "Draw the scene script against time, as the game runs it");
    timeline->add_option("DATA_DIR", dataDir, "the data folder")->required();
    timeline->add_option("OUT", pngPath, "the PNG file to write")->required();
    uint32_t seed = 1, traceFrames = 300;
    int32_t enemy = 0;
    TracePlace place;
    CLI::App* trace = app.add_subcommand("trace", "Draw one enemy played alone by the game");
    trace->add_option("DATA_DIR", dataDir, "the data folder")->required();
    trace->add_option("ENEMY", enemy, "the enemy number")->required()->check(CLI::Range(0, 255));
    trace->add_option("OUT", pngPath, "the PNG file to write")->required();
    trace->add_option("--frames", traceFrames, "frames to play (default 300)")
        ->check(CLI::Range(1u, 36000u));
    trace->add_option("--seed", seed, "seed of the random generator (default 1)");
    trace
        ->add_option("--place", place.place,
                     "0 left, 1 right, 2 top, 3 bottom edge (default: the enemy's first "
                     "appearance in the scene, else the top)")
        ->check(CLI::Range(0, 3));
    trace->add_option("--position", place.position, "position along the edge, pixels");
    trace->add_option("--speed", place.speed, "initial speed, tenths of a pixel per frame");
    trace->add_option("--angle", place.angle, "initial angle, degrees");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return 2;
    }

    try {
        if (dump->parsed()) return Dump(dataDir, jsonPath);
        if (build->parsed()) return Build(jsonPath, dataDir, assetDir);
        if (sheet->parsed()) return DrawSpriteSheet(dataDir, pngPath), 0;
        if (timeline->parsed()) return DrawTimeline(dataDir, pngPath), 0;
        if (trace->parsed()) return DrawTrace(dataDir, enemy, pngPath, traceFrames, seed, place), 0;
        return Check(dataDir);
    } catch (const ToolError& e) {
        std::cerr << "orvan-tool: " << e.what() << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "orvan-tool: " << e.what() << "\n";
        return 1;
    }
}
