// A data folder of its own for each test, the current folder moved into it, a writer for its
// files and a freshly constructed project.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "project/project.h"
#include "support/project_writer.h"
#include "support/temp_dir.h"

class ProjectTest : public ::testing::Test {
protected:
    TempDir dir;
    ScopedCwd cwd{dir.path()};
    ProjectWriter writer{dir.path()};
    std::unique_ptr<TProject> project = std::make_unique<TProject>();
};
