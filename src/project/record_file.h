// The one pattern every project file follows: read the whole file, parse it from its start,
// report what became of it. Internal to the project readers.
#pragma once

#include <cstdint>
#include <vector>

#include "base/tstring.h"
#include "project/byte_reader.h"
#include "project/definition_files.h"

template <class Parse>
FileStatus LoadRecordFile(const TString& path, std::vector<uint8_t>* buffer, Parse parse) {
    std::vector<uint8_t> local;
    std::vector<uint8_t>& bytes = buffer ? *buffer : local;
    if (!ReadWholeFile(path.c_str(), bytes)) return FileStatus::Missing;
    ByteReader in(bytes);
    return parse(in) ? FileStatus::Loaded : FileStatus::Truncated;
}
