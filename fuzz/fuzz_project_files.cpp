// The project file parsers. The first byte picks the kind of file; the rest is its content.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "project/definition_files.h"
#include "project/project.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // TProject is large, so one is kept for the whole run; ReadGlobal fills a few fields.
    static auto project = std::make_unique<TProject>();
    ByteReader in(data + 1, size - 1);
    switch (data[0] % 10) {
        case 0:
            ReadGlobal(in, *project);
            break;
        case 1: {
            TSpriteDef d;
            ReadSpriteDef(in, d);
            break;
        }
        case 2: {
            TSoundDef d;
            ReadSoundDef(in, d);
            break;
        }
        case 3: {
            TPlayerDef d;
            ReadPlayerDef(in, d);
            break;
        }
        case 4: {
            TBulletDef d;
            ReadBulletDef(in, d);
            break;
        }
        case 5: {
            TItemDef d;
            ReadItemDef(in, d);
            break;
        }
        case 6: {
            TEnemyDef d;
            ReadEnemyDef(in, d);
            break;
        }
        case 7: {
            std::vector<TSceneCommand> s;
            ReadScene(in, s);
            break;
        }
        case 8: {
            TMapDef d;
            ReadMapDef(in, d);
            break;
        }
        case 9: {
            std::vector<int32_t> o;
            ReadMapOrder(in, o);
            break;
        }
    }
    return 0;
}
