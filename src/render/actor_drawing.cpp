// The pooled actors: enemies in draw order, items, effects and bullets. Each writes the draw
// state of its sprite right before its own draw, since actors share their sprite's record.
#include "media/media.h"
#include "player/player.h"
#include "project/project.h"
#include "render/game_picture.h"
#include "world/bullet.h"
#include "world/effect.h"
#include "world/enemy.h"
#include "world/item.h"
#include "world/sprite_lookup.h"

void DrawEnemies(TProject& project, TEnemyPool& enemies, const TPlayer& player) {
    for (const TDrawOrderEntry& entry : enemies.drawOrder) {
        if (entry.slot < 0 || entry.slot >= TEnemyPool::kSize) continue;
        TEnemy& enemy = enemies.enemies[entry.slot];
        if (!enemy.IsAlive() || !enemy.definition) continue;
        const TEnemyDef& def = *enemy.definition;
        TSpriteDef* sprite = FindSprite(project, def.sprite);
        if (!sprite) {
            enemy.hitFlash = false;
            continue;
        }
        sprite->drawX = enemy.x;
        sprite->drawY = enemy.y;
        switch (def.imageDirection) {
            case 0:
                sprite->drawAngle = 0.0;
                break;
            case 1:
                sprite->drawAngle = enemy.MotionBearing() + 180.0;
                break;
            case 2:
                sprite->drawAngle = enemy.AngleTo(player.x, player.y);
                break;
            default:
                break;  // keeps what the record last held
        }
        bool flash = enemy.hitFlash;
        if (flash) SetDrawBrightness(255, 0, 0);
        sprite->DrawRotated(enemy.frame);
        if (flash) {
            // Full brightness for the rest of the frame, whatever the fade level was.
            SetDrawBrightness(255, 255, 255);
            enemy.hitFlash = false;
        }
    }
}

void DrawItems(TProject& project, TItemPool& items) {
    for (TItem& item : items.items) {
        if (!item.IsAlive()) continue;
        TSpriteDef* sprite = FindSprite(project, project.items[item.kind].sprite);
        if (!sprite) continue;
        sprite->drawX = item.x;
        sprite->drawY = item.y;
        sprite->DrawRotated(item.frame);
    }
}

void DrawEffects(TProject& project, TEffectPool& effects) {
    TSpriteDef& sprite = project.sprites[TEffectPool::kEffectSprite];
    for (TEffect& effect : effects.effects) {
        // Invisible while it waits out its delay.
        if (!effect.IsAlive() || effect.delayCounter <= effect.delay) continue;
        sprite.blendValue = effect.blend;
        sprite.drawX = effect.x;
        sprite.drawY = effect.y;
        sprite.drawScale = effect.scale;
        sprite.DrawRotated(effect.frame);
    }
}

void DrawBullets(TProject& project, TBulletPool& bullets, const TPlayer& player) {
    for (TBullet& bullet : bullets.bullets) {
        if (!bullet.IsAlive()) continue;
        if (bullet.kind < 0 || bullet.kind >= kBulletCount) continue;
        const TBulletDef& def = project.bullets[bullet.kind];
        switch (def.imageDirection) {
            case 0:
                bullet.drawnAngle = 0.0;
                break;
            // Unlike an enemy, no half turn is added.
            case 1:
                bullet.drawnAngle = bullet.MotionBearing();
                break;
            case 2:
                bullet.drawnAngle = bullet.AngleTo(player.x, player.y);
                break;
            default:
                break;  // the angle it was last drawn with
        }
        TSpriteDef* sprite = FindSprite(project, def.sprite);
        if (!sprite) continue;
        sprite->drawAngle = bullet.drawnAngle;
        sprite->drawX = bullet.x;
        sprite->drawY = bullet.y;
        sprite->DrawRotated(bullet.frame);
    }
}
