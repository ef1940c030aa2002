#include "tool_project.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "base/paths.h"
#include "project/byte_reader.h"
#include "project/record_writer.h"
#include "sys/sys.h"

namespace fs = std::filesystem;

namespace tool {

namespace {

// Changes into a folder for the lifetime of the object: the game's readers take paths
// relative to the data folder, as the game itself does once it has changed into it.
class CurrentFolder {
public:
    explicit CurrentFolder(const fs::path& dir) : old_(fs::current_path()) {
        fs::current_path(dir);
    }
    ~CurrentFolder() {
        std::error_code ignored;
        fs::current_path(old_, ignored);
    }

private:
    fs::path old_;
};

class Loader {
public:
    explicit Loader(std::vector<FileReport>* reports) : reports_(reports) {}

    // Reads one file with 'parse'; false when it does not exist.
    template <class Parse>
    bool Load(const TString& projectPath, Parse parse) {
        if (!ReadWholeFile(projectPath.c_str(), buffer_)) return false;
        ByteReader in(buffer_);
        bool complete = parse(in);
        if (reports_) {
            FileReport report;
            report.path = sys::HostPath(projectPath.c_str());
            report.status = complete ? FileStatus::Loaded : FileStatus::Truncated;
            report.trailingBytes = complete ? in.Remaining() : 0;
            reports_->push_back(report);
        }
        return true;
    }

private:
    std::vector<FileReport>* reports_;
    std::vector<uint8_t> buffer_;
};

// The host path of a project path when it names a regular file, else "".
std::string ExistingFile(const TString& projectPath) {
    std::string host = sys::HostPath(projectPath.c_str());
    std::error_code ec;
    return fs::is_regular_file(host, ec) ? host : std::string();
}

}  // namespace

ToolProject::ToolProject() : project(std::make_unique<TProject>()) {}

std::string NumberedFile(const char* kind, int number, const char* extension) {
    return std::string(kind) + "/" + kind + std::to_string(number) + extension;
}

std::string SoundFilePath(const TSoundDef& sound) {
    std::string name = sys::Cp932ToUtf8(sound.fileName.c_str());
    for (char& c : name)
        if (c == '\\') c = '/';
    return "Sound/" + name;
}

void LoadToolProject(const std::string& dataDir, ToolProject& out,
                     std::vector<FileReport>* reports) {
    std::error_code ec;
    if (!fs::is_directory(dataDir, ec)) throw ToolError(dataDir + ": not a folder");
    CurrentFolder inside(fs::absolute(dataDir));
    TProject& p = *out.project;
    ProjectFiles& f = out.files;
    Loader loader(reports);

    f.global = loader.Load(JoinPath(kGlobalFolder, "Global.bin"),
                           [&](ByteReader& in) { return ReadGlobal(in, p); });
    for (int i = 0; i < kSpriteCount; ++i)
        f.sprites[i] = loader.Load(NumberedPath(kSpriteFolder, "Sprite%d.bin", i),
                                   [&](ByteReader& in) { return ReadSpriteDef(in, p.sprites[i]); });
    for (int i = 0; i < kSoundCount; ++i)
        f.sounds[i] = loader.Load(NumberedPath(kSoundFolder, "Sound%d.bin", i),
                                  [&](ByteReader& in) { return ReadSoundDef(in, p.sounds[i]); });
    f.player = loader.Load(JoinPath(kGlobalFolder, "Player.bin"),
                           [&](ByteReader& in) { return ReadPlayerDef(in, p.player); });
    for (int i = 0; i < kBulletCount; ++i)
        f.bullets[i] = loader.Load(NumberedPath(kBulletFolder, "Bullet%d.bin", i),
                                   [&](ByteReader& in) { return ReadBulletDef(in, p.bullets[i]); });
    for (int i = 0; i < kItemCount; ++i)
        f.items[i] = loader.Load(NumberedPath(kItemFolder, "Item%d.bin", i),
                                 [&](ByteReader& in) { return ReadItemDef(in, p.items[i]); });
    for (int i = 0; i < kEnemyCount; ++i)
        f.enemies[i] = loader.Load(NumberedPath(kEnemyFolder, "Enemy%d.bin", i),
                                   [&](ByteReader& in) { return ReadEnemyDef(in, p.enemies[i]); });
    f.scene = loader.Load(JoinPath(kGlobalFolder, "Scene.bin"),
                          [&](ByteReader& in) { return ReadScene(in, p.scene); });
    for (int i = 0; i < kMapCount; ++i)
        f.maps[i] = loader.Load(NumberedPath(kMapFolder, "Map%d.bin", i),
                                [&](ByteReader& in) { return ReadMapDef(in, p.maps[i]); });
    f.mapOrder = loader.Load(JoinPath(kMapFolder, "Order.bin"),
                             [&](ByteReader& in) { return ReadMapOrder(in, p.mapOrder); });

    for (int i = 0; i < kSpriteCount; ++i) {
        std::string image = ExistingFile(MakeSpritePath(i));
        if (!image.empty()) out.assets.spriteImages[i] = image;
    }
    // Only the records that exist name a file of their own; the others all point at the
    // default "<未登録>.wav".
    for (int i = 0; i < kSoundCount; ++i) {
        if (!f.sounds[i]) continue;
        std::string file = ExistingFile(JoinPath(kSoundFolder, p.sounds[i].fileName));
        if (!file.empty()) out.assets.soundFiles[i] = file;
    }
    out.assets.frameImage = ExistingFile("Frame.png");
}

namespace {

class Saver {
public:
    Saver(const std::string& dataDir, const std::string& assetDir)
        : root_(dataDir), assets_(assetDir) {}

    void Write(const std::string& relative, const ByteWriter& bytes) {
        fs::path to = Prepare(relative);
        std::ofstream out(to, std::ios::binary | std::ios::trunc);
        const std::vector<uint8_t>& b = bytes.bytes();
        out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
        if (!out) throw ToolError(to.string() + ": cannot write");
    }

    void Copy(const std::string& source, const std::string& relative) {
        fs::path from = assets_ / source;
        std::error_code ec;
        if (!fs::is_regular_file(from, ec)) throw ToolError(from.string() + ": file not found");
        fs::path to = Prepare(relative);
        if (fs::exists(to, ec) && fs::equivalent(from, to, ec)) return;  // built in place
        if (!fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec))
            throw ToolError(to.string() + ": cannot copy " + from.string() + ": " + ec.message());
    }

    // Removes the project files of the folder that this build did not write.
    void RemoveOthers() {
        static const std::regex kNumbered(
            "(Sprite|Sound|Bullet|Item|Enemy|Map)(0|[1-9][0-9]{0,3})\\.(bin|png)");
        static const std::set<std::string> kSingle{"Global/Global.bin", "Global/Player.bin",
                                                   "Global/Scene.bin", "Map/Order.bin",
                                                   "Frame.png"};
        std::vector<std::string> candidates(kSingle.begin(), kSingle.end());
        for (const char* kind : {"Sprite", "Sound", "Bullet", "Item", "Enemy", "Map"}) {
            std::error_code ec;
            for (const fs::directory_entry& e : fs::directory_iterator(root_ / kind, ec)) {
                std::string name = e.path().filename().string();
                std::smatch m;
                if (!std::regex_match(name, m, kNumbered) || m[1] != kind) continue;
                int number = std::stoi(m[2]);
                bool png = m[3] == "png";
                int limit = std::string(kind) == "Sprite" ? kSpriteCount : 256;
                if (number >= limit || (png && std::string(kind) != "Sprite")) continue;
                candidates.push_back(std::string(kind) + "/" + name);
            }
        }
        for (const std::string& relative : candidates) {
            if (written_.count(relative)) continue;
            std::error_code ec;
            fs::path p = root_ / relative;
            if (fs::is_regular_file(p, ec)) fs::remove(p, ec);
        }
    }

private:
    fs::path Prepare(const std::string& relative) {
        fs::path to = root_ / relative;
        std::error_code ec;
        fs::create_directories(to.parent_path(), ec);
        written_.insert(relative);
        return to;
    }

    fs::path root_;
    fs::path assets_;
    std::set<std::string> written_;
};

}  // namespace

void SaveToolProject(const ToolProject& in, const std::string& dataDir,
                     const std::string& assetDir) {
    std::error_code ec;
    fs::create_directories(dataDir, ec);
    if (!fs::is_directory(dataDir, ec)) throw ToolError(dataDir + ": cannot make the folder");
    const TProject& p = *in.project;
    const ProjectFiles& f = in.files;
    Saver saver(dataDir, assetDir);
    auto record = [&](bool exists, const std::string& relative, auto write) {
        if (!exists) return;
        ByteWriter w;
        write(w);
        saver.Write(relative, w);
    };

    // Every kind folder is made, as the game's layout upgrade would make them.
    for (const char* kind : {"Bullet", "Enemy", "Global", "Item", "Map", "Sound", "Sprite"})
        fs::create_directories(fs::path(dataDir) / kind, ec);

    record(f.global, "Global/Global.bin", [&](ByteWriter& w) { WriteGlobal(w, p); });
    record(f.player, "Global/Player.bin", [&](ByteWriter& w) { WritePlayerDef(w, p.player); });
    record(f.scene, "Global/Scene.bin", [&](ByteWriter& w) { WriteScene(w, p.scene); });
    record(f.mapOrder, "Map/Order.bin", [&](ByteWriter& w) { WriteMapOrder(w, p.mapOrder); });
    for (int i = 0; i < kSpriteCount; ++i)
        record(f.sprites[i], NumberedFile("Sprite", i),
               [&](ByteWriter& w) { WriteSpriteDef(w, p.sprites[i]); });
    for (int i = 0; i < kSoundCount; ++i)
        record(f.sounds[i], NumberedFile("Sound", i),
               [&](ByteWriter& w) { WriteSoundDef(w, p.sounds[i]); });
    for (int i = 0; i < kBulletCount; ++i)
        record(f.bullets[i], NumberedFile("Bullet", i),
               [&](ByteWriter& w) { WriteBulletDef(w, p.bullets[i]); });
    for (int i = 0; i < kItemCount; ++i)
        record(f.items[i], NumberedFile("Item", i),
               [&](ByteWriter& w) { WriteItemDef(w, p.items[i]); });
    for (int i = 0; i < kEnemyCount; ++i)
        record(f.enemies[i], NumberedFile("Enemy", i),
               [&](ByteWriter& w) { WriteEnemyDef(w, p.enemies[i]); });
    for (int i = 0; i < kMapCount; ++i)
        record(f.maps[i], NumberedFile("Map", i),
               [&](ByteWriter& w) { WriteMapDef(w, p.maps[i]); });

    for (const auto& [number, source] : in.assets.spriteImages)
        saver.Copy(source, NumberedFile("Sprite", number, ".png"));
    for (const auto& [number, source] : in.assets.soundFiles)
        saver.Copy(source, SoundFilePath(p.sounds[number]));
    if (!in.assets.frameImage.empty()) saver.Copy(in.assets.frameImage, "Frame.png");

    saver.RemoveOthers();
}

}  // namespace tool
