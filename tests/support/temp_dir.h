// A temporary folder for one test, removed with everything in it afterwards.
#pragma once

#include <string>
#include <vector>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + "/" + relative
    std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

    void WriteFile(const std::string& relative, const std::string& bytes) const;
    void WriteFile(const std::string& relative, const std::vector<unsigned char>& bytes) const;
    std::string ReadFile(const std::string& relative) const;
    bool Exists(const std::string& relative) const;
    void MakeDir(const std::string& relative) const;

private:
    std::string path_;
};

// Changes the current folder for the lifetime of the object.
class ScopedCwd {
public:
    explicit ScopedCwd(const std::string& dir);
    ~ScopedCwd();

private:
    std::string old_;
};

// Runs the orvan binary with the arguments; returns its exit code, stdout and stderr.
struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};
RunResult RunOrvan(const std::vector<std::string>& args, const std::string& cwd = "");
RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::string& cwd = "");
