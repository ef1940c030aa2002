// "Player.bin", "Bullet%d.bin", "Item%d.bin" and "Enemy%d.bin".
#include "base/paths.h"
#include "project/definition_files.h"
#include "project/record_file.h"

bool ReadPlayerDef(ByteReader& in, TPlayerDef& player) {
    // The 32-byte block field by field, padding included, so that it reads back unchanged.
    return in.ReadI32(player.unused0) && in.ReadI32(player.unused1) &&
           in.ReadF64(player.moveSpeed) && in.ReadI32(player.initialLife) &&
           in.ReadI32(player.initialBombs) && in.ReadI32(player.hitRadius) &&
           in.ReadU8(player.invincible) && in.ReadU8(player.padding[0]) &&
           in.ReadU8(player.padding[1]) && in.ReadU8(player.padding[2]);
}

bool ReadBulletDef(ByteReader& in, TBulletDef& bullet) {
    return in.ReadString(bullet.name) && in.ReadI32(bullet.sprite) &&
           in.ReadI32(bullet.hitRadius) && in.ReadI32(bullet.imageDirection) &&
           in.ReadI32(bullet.sound);
}

bool ReadItemDef(ByteReader& in, TItemDef& item) {
    return in.ReadString(item.name) && in.ReadI32(item.sprite) && in.ReadI32(item.attribute) &&
           in.ReadI32(item.score);
}

bool ReadActionEntry(ByteReader& in, TActionEntry& a) {
    // An entry is taken whole or not at all.
    ByteReader e;
    if (!in.ReadBlock(kActionEntryBytes, e)) return false;
    return e.ReadI32(a.command) && e.ReadI32(a.paramA) && e.ReadI32(a.paramB) &&
           e.ReadI32(a.extra) && e.ReadI32(a.target) && e.ReadI32(a.which) &&
           e.ReadI32(a.shotSpeed) && e.ReadI32(a.shotSpeedJitter) && e.ReadI32(a.interval) &&
           e.ReadI32(a.count) && e.ReadI32(a.countJitter) && e.ReadI32(a.spacing) &&
           e.ReadI32(a.spacingJitter) && e.ReadI32(a.angleJitter) && e.ReadI32(a.angleMode) &&
           e.ReadI32(a.angleValue);
}

namespace {

bool ReadActions(ByteReader& in, std::vector<TActionEntry>& actions) {
    actions.clear();
    int32_t count;
    if (!in.ReadI32(count)) return false;
    actions.reserve(in.ReservableCount(count, kActionEntryBytes));
    for (int32_t i = 0; i < count; ++i) {
        TActionEntry entry;  // every word starts at zero
        if (!ReadActionEntry(in, entry)) return false;
        actions.push_back(entry);
    }
    return true;
}

bool ReadDropKinds(ByteReader& in, std::vector<int32_t>& kinds) {
    kinds.clear();
    int32_t count;
    if (!in.ReadI32(count)) return false;
    kinds.reserve(in.ReservableCount(count, 4));
    for (int32_t i = 0; i < count; ++i) {
        int32_t kind;
        if (!in.ReadI32(kind)) return false;
        kinds.push_back(kind);
    }
    return true;
}

}  // namespace

bool ReadEnemyDef(ByteReader& in, TEnemyDef& enemy) {
    // The file stores bombDamage before imageDirection, unlike the record.
    return in.ReadString(enemy.name) && in.ReadI32(enemy.sprite) && in.ReadU8(enemy.contactHurts) &&
           in.ReadI32(enemy.shotResponse) && in.ReadI32(enemy.score) &&
           in.ReadI32(enemy.durability) && in.ReadI32(enemy.bombDamage) &&
           in.ReadI32(enemy.imageDirection) && in.ReadU8(enemy.explosion) &&
           in.ReadI32(enemy.successor) && in.ReadI32(enemy.hitWidth) &&
           in.ReadI32(enemy.hitHeight) && ReadActions(in, enemy.actions) &&
           in.ReadI32(enemy.dropCount) && ReadDropKinds(in, enemy.dropKinds) &&
           in.ReadI32(enemy.groundDistance);
}

FileStatus LoadPlayerDef(TPlayerDef& player, std::vector<uint8_t>* buffer) {
    return LoadRecordFile(JoinPath(kGlobalFolder, "Player.bin"), buffer,
                          [&](ByteReader& in) { return ReadPlayerDef(in, player); });
}

FileStatus LoadBulletDef(TBulletDef& bullet, int number, std::vector<uint8_t>* buffer) {
    FileStatus status = LoadRecordFile(NumberedPath(kBulletFolder, "Bullet%d.bin", number), buffer,
                                       [&](ByteReader& in) { return ReadBulletDef(in, bullet); });
    if (status == FileStatus::Missing) bullet.name = kUnregistered;
    return status;
}

FileStatus LoadItemDef(TItemDef& item, int number, std::vector<uint8_t>* buffer) {
    FileStatus status = LoadRecordFile(NumberedPath(kItemFolder, "Item%d.bin", number), buffer,
                                       [&](ByteReader& in) { return ReadItemDef(in, item); });
    if (status == FileStatus::Missing) item.name = kUnregistered;
    return status;
}

FileStatus LoadEnemyDef(TEnemyDef& enemy, int number, std::vector<uint8_t>* buffer) {
    FileStatus status = LoadRecordFile(NumberedPath(kEnemyFolder, "Enemy%d.bin", number), buffer,
                                       [&](ByteReader& in) { return ReadEnemyDef(in, enemy); });
    if (status == FileStatus::Missing) enemy.name = kUnregistered;
    return status;
}
