#include "support/zip_writer.h"

#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/project_writer.h"

namespace {

std::string Deflate(const std::string& data) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, uLong(data.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(&out[0]);
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

Bytes& U16(Bytes& b, uint16_t v) {
    return b.U8(uint8_t(v)).U8(uint8_t(v >> 8));
}

}  // namespace

std::string MakeZip(const std::vector<ZipItem>& items) {
    Bytes file, directory;
    std::vector<uint32_t> offsets;
    for (const ZipItem& item : items) {
        const std::string packed = item.deflate ? Deflate(item.data) : item.data;
        const uint32_t crc = uint32_t(
            crc32(0, reinterpret_cast<const Bytef*>(item.data.data()), uInt(item.data.size())));
        const uint32_t size =
            uint32_t(item.claimedSize < 0 ? int64_t(item.data.size()) : item.claimedSize);
        const uint16_t flags = item.utf8Flag ? 0x0800 : 0, method = item.deflate ? 8 : 0;
        uint32_t offset = uint32_t(file.size());
        if (item.sharesDataWith >= 0) {
            offset = offsets[item.sharesDataWith];
        } else {
            file.U32(0x04034b50);
            U16(file, 20), U16(file, flags), U16(file, method), U16(file, 0), U16(file, 0);
            file.U32(crc).U32(uint32_t(packed.size())).U32(size);
            U16(file, uint16_t(item.name.size())), U16(file, 0);
            file.Raw(item.name).Raw(packed);
        }
        offsets.push_back(offset);
        directory.U32(0x02014b50);
        U16(directory, 20), U16(directory, 20), U16(directory, flags), U16(directory, method);
        U16(directory, 0), U16(directory, 0);
        directory.U32(crc).U32(uint32_t(packed.size())).U32(size);
        U16(directory, uint16_t(item.name.size())), U16(directory, 0), U16(directory, 0);
        U16(directory, 0), U16(directory, 0);
        directory.U32(0).U32(offset).Raw(item.name);
    }
    Bytes end;
    end.U32(0x06054b50);
    U16(end, 0), U16(end, 0), U16(end, uint16_t(items.size())), U16(end, uint16_t(items.size()));
    end.U32(uint32_t(directory.size())).U32(uint32_t(file.size()));
    U16(end, 0);
    return file.str() + directory.str() + end.str();
}

std::vector<ZipItem> ZipItemsOfFolder(const std::string& folder, const std::string& prefix) {
    namespace fs = std::filesystem;
    std::vector<ZipItem> items;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
        if (!e.is_regular_file()) continue;
        std::ifstream in(e.path(), std::ios::binary);
        std::stringstream data;
        data << in.rdbuf();
        items.push_back({prefix + fs::relative(e.path(), folder).string(), data.str(), true, true});
    }
    return items;
}
