#include "shell/launch.h"

#include <pwd.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "sys/sys.h"
#include "sys/zip_archive.h"

namespace fs = std::filesystem;

#ifndef ORVAN_DATA_FROM_BIN
#define ORVAN_DATA_FROM_BIN "../share/orvan"
#endif

namespace {

bool SameName(const std::string& a, const char* b) {
    return ::strcasecmp(a.c_str(), b) == 0;
}

std::string Join(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : name.empty() ? folder : folder + "/" + name;
}

std::string Canonical(const std::string& path) {
    std::error_code ec;
    fs::path p = fs::canonical(path, ec);
    return ec ? fs::absolute(path, ec).lexically_normal().string() : p.string();
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The folder the program's own installed data lies in ("<prefix>/share/orvan"), found
// beside the running program so that an installation can live under any prefix.
std::string InstalledDataFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return "";
    fs::path folder = fs::canonical(exe.parent_path() / ORVAN_DATA_FROM_BIN, ec);
    return ec ? "" : folder.string();
}

std::string DemoFolder() {
    std::string installed = InstalledDataFolder();
    std::error_code ec;
    if (!installed.empty() && fs::is_directory(installed + "/demo", ec)) return installed + "/demo";
#ifdef ORVAN_BUILD_DEMO
    // A program that was built but not installed plays the demo of its build folder.
    if (fs::is_directory(ORVAN_BUILD_DEMO "/Data", ec)) return ORVAN_BUILD_DEMO;
#endif
    return "";
}

bool IsInstalled(const std::string& canonical) {
    std::string installed = InstalledDataFolder();
    return !installed.empty() && canonical.compare(0, installed.size() + 1, installed + "/") == 0;
}

std::vector<std::pair<std::string, bool>> ListDisk(const std::string& folder) {
    std::vector<std::pair<std::string, bool>> out;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        out.emplace_back(it->path().filename().string(), it->is_directory(ec));
    return out;
}

// What a player recognises a game by: its folder's name, or the one around "Data".
std::string GameName(const fs::path& dataFolder) {
    std::string name = dataFolder.filename().string();
    if (SameName(name, "Data") && dataFolder.has_parent_path())
        name = dataFolder.parent_path().filename().string();
    return name;
}

std::string Home() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    const passwd* pw = ::getpwuid(::getuid());
    return pw && pw->pw_dir ? pw->pw_dir : "/tmp";
}

uint64_t Fnv1a(const std::string& text) {
    uint64_t h = 0xcbf29ce484222325ull;
    for (unsigned char c : text) h = (h ^ c) * 0x100000001b3ull;
    return h;
}

// A zip is unpacked once into $XDG_CACHE_HOME/orvan/zip/<name>-<hash of its path>/game; the
// folder is unpacked again when the zip's size or time changes. It is unpacked into a
// temporary folder first, so that an interrupted unpacking never leaves half a game.
bool UnpackZip(const std::string& zipPath, const std::string& canonical, std::string* gameFolder,
               std::string* error) {
    sys::ZipFile zip;
    std::string why;
    if (!zip.Open(zipPath, &why)) {
        *error = "'" + zipPath + "' is not a game: " + why;
        return false;
    }
    // The zip's folders, for the same rules a folder on disk is recognised by.
    std::map<std::string, std::map<std::string, bool>> folders;
    for (const sys::ZipEntry& e : zip.entries()) {
        std::string path = e.name;
        bool isFolder = e.folder;
        for (;;) {
            size_t slash = path.rfind('/');
            std::string parent = slash == std::string::npos ? "" : path.substr(0, slash);
            folders[parent][path.substr(slash == std::string::npos ? 0 : slash + 1)] |= isFolder;
            if (parent.empty()) break;
            path = parent;
            isFolder = true;
        }
    }
    auto list = [&](const std::string& folder) {
        std::vector<std::pair<std::string, bool>> out;
        auto it = folders.find(folder);
        if (it != folders.end())
            for (const auto& entry : it->second) out.emplace_back(entry.first, entry.second);
        return out;
    };
    std::string relative;
    if (!FindDataFolder(list, fs::path(zipPath).stem().string(), &relative)) {
        *error = "'" + zipPath + "' is not a game: it holds no Data folder";
        return false;
    }

    struct stat st;
    ::stat(canonical.c_str(), &st);
    std::ostringstream stamp;
    stamp << canonical << '\n'
          << st.st_size << ' ' << st.st_mtim.tv_sec << '.' << st.st_mtim.tv_nsec << '\n';
    const std::string cache = XdgHome("XDG_CACHE_HOME", ".cache") + "/orvan/zip/" +
                              GameFilesFolderName(fs::path(zipPath).stem().string(), canonical);
    *gameFolder = Join(cache + "/game", relative);
    std::error_code ec;
    if (ReadWhole(cache + "/source") == stamp.str() && fs::is_directory(*gameFolder, ec))
        return true;
    fs::remove_all(cache, ec);
    const std::string temp = cache + ".unpacking-" + std::to_string(::getpid());
    fs::remove_all(temp, ec);
    if (!sys::MakeFolders(temp + "/game")) {
        *error = "cannot make the folder '" + temp + "'";
        return false;
    }
    if (!zip.UnpackTo(temp + "/game", &why)) {
        fs::remove_all(temp, ec);
        *error = "'" + zipPath + "' cannot be unpacked: " + why;
        return false;
    }
    std::ofstream(temp + "/source", std::ios::binary) << stamp.str();
    if (::rename(temp.c_str(), cache.c_str()) != 0) {
        // Another copy of the program unpacked the same zip meanwhile.
        fs::remove_all(temp, ec);
        if (ReadWhole(cache + "/source") != stamp.str()) {
            *error = "cannot unpack '" + zipPath + "' into '" + cache + "'";
            return false;
        }
    }
    return true;
}

}  // namespace

bool FindDataFolder(const TFolderLister& list, const std::string& rootName, std::string* relative) {
    std::string folder;
    std::string name = rootName;
    for (int depth = 0; depth < 2; ++depth) {
        const auto entries = list(folder);
        std::vector<std::string> subfolders;
        bool hasGlobal = false, legacy = false;
        for (const auto& e : entries) {
            if (e.second && SameName(e.first, "Data")) {
                *relative = Join(folder, e.first);
                return true;
            }
            if (e.second) subfolders.push_back(e.first);
            if (!e.second && SameName(e.first, "Data.bin")) legacy = true;
            if (e.second && SameName(e.first, "Global"))
                for (const auto& g : list(Join(folder, e.first)))
                    hasGlobal |= !g.second && SameName(g.first, "Global.bin");
        }
        if (SameName(name, "Data") || hasGlobal || legacy) {
            *relative = folder;
            return true;
        }
        if (subfolders.size() != 1) break;
        name = subfolders[0];
        folder = Join(folder, name);
    }
    return false;
}

std::string XdgHome(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/') return value;
    return Home() + "/" + fallback;
}

std::string ScreenshotFolder() {
    std::string pictures;
    if (const char* env = std::getenv("XDG_PICTURES_DIR")) pictures = env;
    if (pictures.empty()) {
        // xdg-user-dirs writes lines like XDG_PICTURES_DIR="$HOME/Pictures".
        std::ifstream dirs(XdgHome("XDG_CONFIG_HOME", ".config") + "/user-dirs.dirs");
        std::string line;
        while (std::getline(dirs, line)) {
            const std::string key = "XDG_PICTURES_DIR=\"";
            if (line.compare(0, key.size(), key) != 0 || line.back() != '"') continue;
            pictures = line.substr(key.size(), line.size() - key.size() - 1);
            if (pictures.compare(0, 5, "$HOME") == 0) pictures = Home() + pictures.substr(5);
        }
    }
    // A pictures folder set to the home folder itself means there is none.
    if (pictures.empty() || pictures[0] != '/' || Canonical(pictures) == Canonical(Home()))
        return XdgHome("XDG_DATA_HOME", ".local/share") + "/orvan/screenshots";
    return pictures + "/Orvan";
}

std::string GameFilesFolderName(const std::string& name, const std::string& identity) {
    std::string clean;
    for (unsigned char c : name) {
        if (clean.size() >= 60 && (c & 0xC0) != 0x80) break;  // whole characters only
        clean += (c < 0x20 || c == '/' || c == 0x7F) ? '_' : char(c);
    }
    while (!clean.empty() && clean[0] == '.') clean.erase(0, 1);
    if (clean.empty()) clean = "game";
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(Fnv1a(identity)));
    return clean + "-" + hash;
}

bool ResolveLaunch(const TRunOptions& options, TLaunch* launch, std::string* error) {
    *launch = TLaunch();
    launch->screenshots = ScreenshotFolder();
    std::string game = options.game;
    if (options.demo) {
        game = DemoFolder();
        if (game.empty()) {
            *error = "the demo game is not installed";
            return false;
        }
    }
    if (game.empty()) return true;  // --data, or Data/ below the current folder

    std::error_code ec;
    const fs::file_status status = fs::status(game, ec);
    if (!fs::exists(status)) {
        *error = "cannot find the game '" + game + "'";
        return false;
    }
    const std::string canonical = Canonical(game);
    std::string identity;
    std::string name;
    if (fs::is_directory(status)) {
        std::string relative;
        if (!FindDataFolder([&](const std::string& r) { return ListDisk(Join(canonical, r)); },
                            fs::path(canonical).filename().string(), &relative)) {
            *error = "'" + game + "' is not a game: it holds no Data folder";
            return false;
        }
        launch->dataFolder = Join(canonical, relative);
        identity = launch->dataFolder;
        name = GameName(launch->dataFolder);
        launch->readOnly =
            IsInstalled(canonical) || ::access(launch->dataFolder.c_str(), W_OK) != 0;
    } else {
        if (!UnpackZip(game, canonical, &launch->dataFolder, error)) return false;
        identity = canonical;
        name = fs::path(canonical).stem().string();
        launch->readOnly = true;
    }
    if (launch->readOnly) {
        launch->programFiles = XdgHome("XDG_DATA_HOME", ".local/share") + "/orvan/" +
                               GameFilesFolderName(name, identity);
        if (!sys::MakeFolders(launch->programFiles))
            std::fprintf(stderr, "orvan: cannot make '%s': settings and scores are not kept\n",
                         launch->programFiles.c_str());
    }
    return true;
}

bool ApplyLaunch(const TLaunch& launch) {
    if (!launch.dataFolder.empty() && ::chdir(launch.dataFolder.c_str()) != 0) return false;
    sys::SetDataFolderReadOnly(launch.readOnly);
    sys::SetProgramFilesFolder(launch.programFiles);
    return true;
}
