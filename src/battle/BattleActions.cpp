// Battle actions: the close-up that plays an attack or a spell and the hit that applies it.
#include "battle/ActionAnimation.hpp"

#include "battle/BattleRules.hpp"
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "battle/SpellEffectSupport.hpp"
#include "characters/Character.hpp"
#include "characters/People.hpp"
#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

#include <SFML/Audio/Music.hpp>

#include <algorithm>
#include <cstdlib>

namespace battlerules {

int attackDamage(int attack, const Character& target, bool deadly) {
    int d = attack - std::max(1, target.stats[DEX]) - std::max(1, target.stats[SPD]);
    if (deadly) d *= 2;
    d = d - target.stats[SHL] - target.stats[AMR];
    return std::max(d, 1);
}

namespace {
int statSum(const Character& c) {
    return c.stats[MAXHP] + c.stats[MAXMP] + c.stats[STR] + c.stats[DEX] + c.stats[SPD] + c.stats[WIS] +
           c.stats[AMR] + c.stats[MOB];
}
} // namespace

int experienceBase(const Character& actor, const Character& target, bool targetIsMember, bool spell,
                   bool defeated) {
    if (!defeated) {
        const int m = targetIsMember ? 1 : 0;
        const int s = spell ? 1 : 0;
        return ((m && s) + 1 + m + s) * 5;
    }
    // A hand-written actor with no stats at all would divide by zero.
    const int u = std::max(1, statSum(actor));
    const int base = (actor.knowsSpells() ? 60 : 40) * statSum(target) / u;
    return std::clamp(base, 5, 48);
}

int experienceShare(int base, int targetCount, const Character& actor) {
    int xp = base / std::max(1, targetCount);
    int f = 1;
    for (int item : {actor.weapon, actor.accessory1, actor.accessory2})
        if (item != NO_ITEM && itemList != nullptr)
            f = static_cast<int>(static_cast<float>(f) * itemList->at(item).bonuses[XP]);
    xp *= f;
    if (targetCount == 2) xp = static_cast<int>(static_cast<float>(xp) * 1.2f);
    else if (targetCount == 3 || targetCount == 4) xp = static_cast<int>(static_cast<float>(xp) * 1.3f);
    else if (targetCount >= 5) xp = static_cast<int>(static_cast<float>(xp) * 1.5f);
    return xp;
}

} // namespace battlerules

namespace {

bool startsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

void playSound(const std::string& name) {
    if (resources != nullptr) resources->playSound(name);
}

bool isMember(long long index) { return people->isMember(static_cast<int>(index)); }

void startMusic(const std::string& name) {
    if (resources == nullptr || name.empty()) return;
    sf::Music& music = resources->getMusic(name);
    music.setLoop(true);
    music.play();
}

void stopMusic(const std::string& name) {
    if (resources == nullptr || name.empty()) return;
    resources->getMusic(name).stop();
}

// Chooses the hit picture, its tint and the hit sound by who strikes.
std::string chooseHitPicture(ActionAnimation& a, Character& actor) {
    std::string sound = "Punch";
    a.slashColor = sf::Color(255, 0, 0, 255);
    a.slashName = "General";
    if (actor.isThrower()) {
        a.slashName.clear();
        sound.clear();
    }
    if ((actor.className == "Monster" || actor.className == "MutantAlien") &&
        actor.type != CharacterType::SNAKE_LR) {
        a.slashName = "Monster";
        sound = "MonsterSlash";
        a.slashColor = sf::Color::White;
    }
    if (startsWith(actor.name, "Tentacle")) {
        a.slashName = "General";
        sound = "Punch";
    }
    if (startsWith(actor.name, "SawTrap")) {
        a.slashName = "General";
        sound = "Saw";
        a.slashColor = sf::Color(164, 156, 155, 255);
    }
    if (startsWith(actor.name, "Sentry")) {
        a.slashName = "General";
        sound = "MachineGun";
        a.slashColor = sf::Color(255, 0, 0, 255);
    }
    if (actor.name == "Amile") {
        a.slashName = "Squirel";
        sound = "Amile";
        a.slashColor = sf::Color(255, 255, 255, 255);
    }
    if (startsWith(actor.className, "Cat")) {
        if (!a.carriesSpell()) playSound("CatMiau");
        sound = "MonsterSlash";
        a.slashName = "CatScratch";
    } else if (actor.weapon != NO_ITEM && !actor.isThrower() && itemList != nullptr) {
        const Item& item = itemList->at(actor.weapon);
        a.slashName = item.classWord == "Wand" ? "WandSparkle" : item.classWord == "Blaster" ? "General" : item.classWord;
        sound = item.hitSound();
        a.slashColor = sf::Color::White;
        if (item.classWord == "Blaster") {
            a.slashColor = sf::Color(0, 200, 0, 255);
            a.hitY = actor.weaponPoint.y;
        }
    }
    if (actor.className == "Dragon") {
        a.slashName = "Dragon";
        sound = "MonsterSlash";
        a.slashColor = sf::Color::White;
    }
    if (actor.isRobot() || actor.className == "UFO") {
        sound = "laser";
        a.slashName = "General";
        a.slashColor = sf::Color(255, 0, 0, 255);
    }
    if (actor.type == CharacterType::HOIST) {
        sound = "hoistlaser";
        a.slashName = "General";
        a.slashColor = randomColor();
    }
    if (actor.name == "OctopusHead") {
        sound.clear();
        a.slashName.clear();
    }
    return sound;
}

void hit(ActionAnimation& a) {
    Character& actor = people->at(a.actor);
    Character& target = people->at(a.target);
    a.slashName.clear();

    const int s = 4 * TILE_SIZE * (game != nullptr && !game->isNormalZoom() ? 2 : 1);
    const int r1 = spellfx::roll(static_cast<int>(s * 0.5));
    const int r2 = spellfx::roll(s / 3);
    a.hitX = static_cast<float>(a.panelPos.x) + static_cast<float>(s) / 5.f + static_cast<float>(r2);
    a.hitY = static_cast<float>(a.panelPos.y) - static_cast<float>(s) * 0.25f + static_cast<float>(r1);

    const std::string sound = chooseHitPicture(a, actor);
    const int hp0 = target.stats[HP];
    const int mp0 = target.stats[MP];
    const bool spell = a.carriesSpell();
    int attack = 0;
    if (spell) {
        Character::monsterAction(actor, a.effect.name, a.effect.level, target, !a.spellApplied);
        a.spellApplied = true;
    } else {
        if (!sound.empty()) playSound(sound);
        attack = actor.getAttack();
        if (attack < 0) {
            target.stats[HP] = std::min(target.stats[HP] - attack, std::max(target.stats[HP], target.stats[MAXHP]));
        } else {
            const int d = battlerules::attackDamage(attack, target, a.deadly);
            target.stats[HP] = std::max(0, target.stats[HP] - d);
        }
        // An alchemist's throw costs its potion's MP (no potion chosen: nothing to pay).
        if (actor.className == "Alchemist" && !actor.selectedPotion.empty() && potionRepository != nullptr)
            actor.stats[MP] = std::max(0, actor.stats[MP] - potionRepository->get(actor.selectedPotion).mp);
    }
    const int hp1 = target.stats[HP];
    const int mp1 = spell ? target.stats[MP] : mp0;

    const float mpDmg = spell ? magicRepository->get(a.effect.name).mpDmgAt(a.effect.level) : 0.f;
    if (hp1 > hp0) {
        BattleLog::addLine(a.lines, actor.name + " healed " + target.name + " by " + std::to_string(hp1 - hp0) + ".");
    } else if (spell && mpDmg < 0.0f) {
        BattleLog::addLine(a.lines, actor.name + " regenerated " + std::to_string(mp1 - mp0) + " MP at " + target.name + ".");
    } else if (spell && a.effect.name == "Poloian") {
        BattleLog::addLine(a.lines, actor.name + " turned " + target.name + " invisible.");
    } else if (a.deadly && !spell) {
        BattleLog::addLine(a.lines, actor.name + " DEADLY attack inflicted " + std::to_string(hp0 - hp1) + " damage to " +
                                        target.name + ".");
    } else if (spell && mpDmg > 0.0f && hp1 == hp0) {
        BattleLog::addLine(a.lines, actor.name + " drained " + std::to_string(mp0 - mp1) + " MP from " + target.name + ".");
    } else {
        BattleLog::addLine(a.lines, actor.name + " inflicted " + std::to_string(hp0 - hp1) + " damage to " + target.name + ".");
        const int defence = std::max(1, target.stats[SPD]) + std::max(1, target.stats[DEX]);
        BattleLog::addLine(a.lines, "[DBG " + actor.name + " ATK " + std::to_string(actor.getAttack()) + " ; " +
                                        target.name + " Defense : " + std::to_string(defence) + "]");
    }
    BattleLog::addLine(a.lines, " ");

    actor.battleMode = 2;
    if (spell) actor.casting = true;
    a.fading = false;
    if (a.targetCount < 1) fatalAssert("Battle", 308, "Bla");

    const bool defeated = hp1 <= 0;
    if (defeated) {
        BattleLog::addLine(a.lines, target.name + " is defeated");
        a.fading = true;
        a.fadeFrame = 0;
        a.fadeLength = a.totalFrames - a.frame;
    }
    const int base = battlerules::experienceBase(actor, target, isMember(a.target), spell, defeated);
    const int xp = battlerules::experienceShare(base, a.targetCount, actor);
    Character& receiver = people->at(a.xpReceiver);
    if (receiver.hasLevel()) {
        BattleLog::addLine(a.lines, receiver.name + " got " + std::to_string(xp) + " experience points.");
        const std::vector<std::string> levelLines = receiver.gainExperience(xp);
        for (const std::string& l : levelLines) BattleLog::addLine(a.lines, l);
        if (!levelLines.empty()) BattleLog::addLine(a.lines, "");
    }
}

} // namespace

ActionAnimation makeActionAnimation(long long actor, long long target, const std::string& spell, int level) {
    ActionAnimation a;
    a.actor = actor;
    a.target = target;
    a.xpReceiver = static_cast<int>(actor);
    a.playing = true;
    a.attackMusic = "Attack" + std::to_string(std::rand() % 10);
    a.panelMargin = 0.1f;
    a.panelWidth = 1728.0f;
    a.panelHeight = 972.0f;
    a.deadly = std::rand() % 100 <= 4 + 2 * (isMember(actor) ? 1 : 0);
    const Character& c = people->at(actor);
    if (!spell.empty()) {
        BattleLog::addLine(a.lines, c.name + " casts " + spell + " level " + std::to_string(level) + "...");
        a.totalFrames = 250;
        const Point topLeft{static_cast<int>(a.panelMargin * WINDOW_WIDTH), static_cast<int>(a.panelMargin * WINDOW_HEIGHT)};
        const Point bottomRight{960, WINDOW_HEIGHT - topLeft.y / 2};
        a.effect = MagicInstance(spell, topLeft, bottomRight, level, a.totalFrames - a.hitFrame);
    } else {
        BattleLog::addLine(a.lines, c.name + " attacks...");
        a.totalFrames = 180;
    }
    return a;
}

bool ActionAnimation::update(const std::string& sceneName) {
    if (!playing) return true;
    if (game != nullptr && !game->isNormalZoom()) game->toggleZoom();
    const bool confirm = game != nullptr && game->input.confirm;
    const bool back = game != nullptr && game->input.back;

    const bool allShown = shownLine >= static_cast<int>(lines.size());
    if (!allShown) {
        const int length = static_cast<int>(lines[shownLine].size());
        if (confirm) shownChars = length;
        else ++shownChars;
        if (shownChars >= length) {
            shownChars = 0;
            ++shownLine;
        }
    }

    if (pausing) {
        if (pauseFrame < pauseLength) {
            ++pauseFrame;
        } else {
            pausing = false;
            resuming = true;
            pauseFrame = 0;
            target = pendingTargets.back();
            pendingTargets.pop_back();
            fadeAlpha = 0;
            fadeFrame = 0;
        }
        return true;
    }
    if (resuming) {
        if (pauseFrame < pauseLength) ++pauseFrame;
        else resuming = false;
        return true;
    }

    Character& actorRef = people->at(actor);
    if (frame == 0) {
        actorRef.pickRandomThrowObject();
        if (resources != nullptr) resources->stopSceneMusic(sceneName, true);
        startMusic(attackMusic);
        actorRef.battleMode = 1;
        if (carriesSpell()) actorRef.casting = true;
    }
    if (frame == hitFrame - 10 && deadly && !carriesSpell()) playSound("Deadly");
    if (frame == hitFrame) hit(*this);

    ++frame;
    if (actorRef.type == CharacterType::HOIST)
        slashColor = randomColor();

    if (frame >= totalFrames) {
        if (!pendingTargets.empty()) {
            pausing = true;
            frame = hitFrame - 1;
            effect.reset();
            return true;
        }
        if (allShown && (confirm || back)) {
            stopMusic(attackMusic);
            if (game != nullptr && resources != nullptr) {
                const std::string& music = game->sceneByName(sceneName).battle.music;
                if (!music.empty()) startMusic(music);
            }
            actorRef.battleMode = 0;
            actorRef.casting = false;
            playing = false;
            return false;
        }
    }

    if (frame == hitFrame + 6) {
        if (actorRef.className == "Alchemist") playSound("PotionBreak");
        else if (actorRef.className == "GoofWarrior") playSound("ObjectHit");
        else if (actorRef.className == "FoodWarrior" || actorRef.name == "OctopusHead") playSound("FoodSlash");
    }
    if (fading && frame <= totalFrames) {
        ++fadeFrame;
        fadeAlpha = std::max(fadeAlpha, fadeFrame * 255 / std::max(1, fadeLength));
    }
    if (effect.name == "Poloian" && frame > totalFrames / 2) fadeAlpha = 150;
    actorRef.update();
    if (!(effect.name == "Ice" && frame >= hitFrame)) people->at(target).update();
    if (carriesSpell() && frame >= hitFrame) effect.advance();
    return true;
}
