#include "support/temp_dir.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#ifndef ORVAN_BINARY
#define ORVAN_BINARY "orvan"
#endif

namespace {

void RemoveTree(const std::string& path) {
    std::string cmd = "rm -rf '" + path + "'";
    int rc = std::system(cmd.c_str());
    (void)rc;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

}  // namespace

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/orvan-test-XXXXXX";
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    if (!::mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
    path_ = buf.data();
}

TempDir::~TempDir() {
    RemoveTree(path_);
}

void TempDir::WriteFile(const std::string& relative, const std::string& bytes) const {
    std::string full = *this / relative;
    // Make the parent folders.
    for (size_t i = path_.size() + 1; i < full.size(); ++i) {
        if (full[i] == '/') ::mkdir(full.substr(0, i).c_str(), 0777);
    }
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TempDir::WriteFile(const std::string& relative,
                        const std::vector<unsigned char>& bytes) const {
    WriteFile(relative, std::string(bytes.begin(), bytes.end()));
}

std::string TempDir::ReadFile(const std::string& relative) const {
    return Slurp(*this / relative);
}

bool TempDir::Exists(const std::string& relative) const {
    struct stat st;
    return ::stat((*this / relative).c_str(), &st) == 0;
}

void TempDir::MakeDir(const std::string& relative) const {
    std::string full = *this / relative;
    for (size_t i = path_.size() + 1; i <= full.size(); ++i) {
        if (i == full.size() || full[i] == '/') ::mkdir(full.substr(0, i).c_str(), 0777);
    }
}

ScopedCwd::ScopedCwd(const std::string& dir) {
    char buf[4096];
    if (::getcwd(buf, sizeof buf)) old_ = buf;
    if (::chdir(dir.c_str()) != 0) throw std::runtime_error("chdir failed: " + dir);
}

ScopedCwd::~ScopedCwd() {
    if (!old_.empty() && ::chdir(old_.c_str()) != 0) std::perror("chdir");
}

RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::string& cwd) {
    TempDir capture;
    std::string outPath = capture / "out", errPath = capture / "err";
    pid_t pid = ::fork();
    if (pid == 0) {
        if (!cwd.empty() && ::chdir(cwd.c_str()) != 0) _exit(127);
        if (!std::freopen(outPath.c_str(), "w", stdout)) _exit(127);
        if (!std::freopen(errPath.c_str(), "w", stderr)) _exit(127);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        _exit(127);
    }
    RunResult r;
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid)
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.out = Slurp(outPath);
    r.err = Slurp(errPath);
    return r;
}

RunResult RunOrvan(const std::vector<std::string>& args, const std::string& cwd) {
    return RunProgram(ORVAN_BINARY, args, cwd);
}
