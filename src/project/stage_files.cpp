// "Scene.bin", "Map%d.bin" and "Order.bin".
#include "base/paths.h"
#include "project/definition_files.h"
#include "project/record_file.h"

namespace {

bool ReadSceneCommand(ByteReader& in, TSceneCommand& c) {
    ByteReader w;
    if (!in.ReadBlock(kSceneCommandBytes, w)) return false;
    return w.ReadI32(c.command) && w.ReadI32(c.p1) && w.ReadI32(c.p2) && w.ReadI32(c.p3) &&
           w.ReadI32(c.p4) && w.ReadI32(c.p5) && w.ReadI32(c.p6);
}

bool ReadMapCell(ByteReader& in, TMapCell& cell) {
    ByteReader w;
    if (!in.ReadBlock(kMapCellBytes, w)) return false;
    for (int32_t& word : cell)
        if (!w.ReadI32(word)) return false;
    return true;
}

}  // namespace

bool ReadScene(ByteReader& in, std::vector<TSceneCommand>& scene) {
    scene.clear();
    // The scene count is unsigned, unlike every other count.
    uint32_t count;
    if (!in.ReadU32(count)) return false;
    scene.reserve(in.ReservableCount(count, kSceneCommandBytes));
    for (uint32_t i = 0; i < count; ++i) {
        TSceneCommand command;
        if (!ReadSceneCommand(in, command)) return false;
        scene.push_back(command);
    }
    return true;
}

bool ReadMapDef(ByteReader& in, TMapDef& map) {
    if (!in.ReadString(map.name) || !in.ReadI32(map.value)) return false;
    map.cells.clear();
    int32_t count;
    if (!in.ReadI32(count)) return false;
    map.cells.reserve(in.ReservableCount(count, kMapCellBytes));
    for (int32_t i = 0; i < count; ++i) {
        TMapCell cell{};
        if (!ReadMapCell(in, cell)) return false;
        map.cells.push_back(cell);
    }
    return true;
}

bool ReadMapOrder(ByteReader& in, std::vector<int32_t>& order) {
    order.clear();
    int32_t count;
    if (!in.ReadI32(count)) return false;
    order.reserve(in.ReservableCount(count, 4));
    for (int32_t i = 0; i < count; ++i) {
        int32_t value;
        if (!in.ReadI32(value)) return false;
        order.push_back(value);
    }
    return true;
}

FileStatus LoadScene(std::vector<TSceneCommand>& scene, std::vector<uint8_t>* buffer) {
    return LoadRecordFile(JoinPath(kGlobalFolder, "Scene.bin"), buffer,
                          [&](ByteReader& in) { return ReadScene(in, scene); });
}

FileStatus LoadMapDef(TMapDef& map, int number, std::vector<uint8_t>* buffer) {
    FileStatus status = LoadRecordFile(NumberedPath(kMapFolder, "Map%d.bin", number), buffer,
                                       [&](ByteReader& in) { return ReadMapDef(in, map); });
    if (status == FileStatus::Missing) map.name = kUnregistered;
    return status;
}

FileStatus LoadMapOrder(std::vector<int32_t>& order, std::vector<uint8_t>* buffer) {
    return LoadRecordFile(JoinPath(kMapFolder, "Order.bin"), buffer,
                          [&](ByteReader& in) { return ReadMapOrder(in, order); });
}
