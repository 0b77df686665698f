// What to do next, read from the story state: a list of rules in story order where the last one
// that holds gives the hint. Nothing is stored; the same state always gives the same sentence.
#include "game/Game.hpp"

#include "characters/People.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

#include <initializer_list>

std::string Game::getAdvice() const {
    const std::string planet =
        currentScene >= 0 && currentScene < scenes.size() ? scenes[currentScene].planet : std::string();
    auto flag = [&](const char* name) { return isBoolVarSet(name); };
    auto shard = [&](const char* name) { return shardState(name) != 0; };
    auto destination = [&](const char* name) {
        auto set = SETVARS.find("DESTINATIONS");
        return set != SETVARS.end() && set->second.count(name) > 0;
    };
    auto holds = [&](const char* name) { return people->partyHasItemNamed(name); };
    auto onPlanet = [&](const char* name) { return planet == name; };
    // found: the scene exists (a scene of a planet not yet loaded does not); then its battle.
    auto battleWon = [&](const char* name, bool won) {
        const long long i = findScene(name);
        return i != -1 && scenes[i].battle.won == won;
    };

    std::string advice = "You should talk to king of Ceres";
    auto rule = [&](bool holdsNow, const char* sentence) {
        if (holdsNow) advice = sentence;
    };

    rule(flag("TALKEDLEO"), "Collect 3 allies in the city of Solaris and then come back to the king.");
    rule(flag("READYMARS"), "Grab your friends and go to Mars after the Moon shard.");
    rule(onPlanet("Mars"), "Find the Moon shard, south of Olympus");
    rule(shard("Moon"), "Return the Moon shard to the king of Ceres");
    rule(flag("TalkedLeoAfterMoonShard"), "Talk to the Ceres observatory crew to help improve the telescope");
    rule(flag("ChipDesignMission"),
         "Head to Earth to : (1) learn about Mad Scientist, (2) get a new telescope chip.");
    rule(battleWon("MadScientistHouseB2", true),
         "Talk to some of the Mad Scientist neighbors to learn about his behavior");
    rule(flag("TalkedGamer"), "Visit the Wafer Works building and ask their designer for a telescope chip");
    rule(flag("TalkedGamer") && flag("TalkedWaferDesigner"), "Head to the Moon and get a CD from the musicians");
    rule(flag("TalkedGamer") && holds("CD"), "Bring the CD back to the designer at Wafer Works");
    rule(flag("TalkedGamer") && holds("Chip"), "Return the Chip back to Ceres Observatory");
    rule(flag("DROPPED_Chip"), "Choose your destination from Ceres computer and get the next shard");
    if (destination("Saturn")) {
        rule(destination("Titan"), "Go to Titan and talk to king Guapo");
        rule(flag("TalkedGuapo"), "Talk to king Guapo in Titan and help him get rid of purple snakes");
        rule(flag("DROPPED_PurpleSnakeEgg"), "Talk to queen Skylar to get permission to go in the Cassini sewers");
        rule(flag("CanGoSewers"), "Explore the Cassini sewers and find the Air shard");
        rule(shard("Air"), "Head back to king Leo for shard storage");
    }
    if (destination("Neptune")) {
        rule(!destination("Europa"), "Talk to the people and find out a way to get in the castle");
        rule(battleWon("EuropaPrison1", false), "Find the demon prison in Europa and try rescuing the king Arthur.");
        rule(flag("ArthurLeftPrison"), "Meet with king Arthur in Paris space station");
        rule(flag("ArthurGoingToRocket"), "Using the passage that king showed, enter the castle and defeat the demons!");
        rule(shard("Forest"), "Head back to king Leo for shard storage");
    }
    rule(chapter == 5, "Find your way to Mercury and locate the Demon Village");
    rule(shard("Cave"), "Return the Cave shard to king Leo");
    rule(flag("LookingForDragon"), "Locate the dragon southwest of Solaris through a new path cleared in the forest.");
    rule(battleWon("DragonLair", true), "Return to king Leo to report the dragon battle victory");
    rule(chapter == 6, "Talk to the king about the attack in Solaris");
    rule(flag("Chip2Mission"), "Go to Earth and meet the Wafer Works designer at the Lumen Retreat");
    rule(flag("DesigningChip2"), "Take a CallForPapers from the Lumen Retreat to the conference hall on Mars");
    rule(flag("DROPPED_CallForPapers"), "Go back to Earth and meet the designer at the Lumen Retreat");
    rule(holds("Chip2"), "Return the Chip back to Ceres Observatory");
    rule(flag("DROPPED_Chip2"), "Talk to king Leo about your next destination");
    rule(flag("ZweenyRocket"), "Explore the Solar System and head to PinkBubblegum for the Rainbow shard");
    rule(onPlanet("PinkBubblegum"), "Solve all puzzles reachable form the teleporter facility");
    bool allBubblegum = true;
    for (const char* item : {"BubblegumWatermelon", "BubblegumMint", "BubblegumCherry", "BubblegumCinnamon",
                             "BubblegumStrawberry", "BubblegumPeppermint", "BubblegumPineapple"}) {
        if (!holds(item)) {
            allBubblegum = false;
            break;
        }
    }
    rule(allBubblegum, "Head to the PinkBubblegum volcano to retrieve the Rainbow shard");
    rule(shard("Rainbow"), "Return to Rainbow shard to Solaris");
    rule(shard("Rainbow") && onPlanet("Ceres"), "Check on king Leo and Queen Audrey in the castle");

    const char* endShard = nullptr;
    if (onPlanet("Cauchemar")) {
        advice = "You need to find a way to get into Hell and look for the shard there";
        rule(holds("HellPartyInvitation"), "Now that you have the hell party invitation, get the shard from Hell");
        endShard = "Water";
    } else if (onPlanet("Mandelbrot")) {
        advice = "Talk to the king about exploring the nebula and finding the shard";
        rule(flag("TalkedBubbleKing"), "Look under the nebula for the shard and oasis with a flyer (YYZ, Heartio or Domingo)");
        endShard = "Princess";
    } else if (flag("GettingSun")) {
        advice = "Talk to the Orange king in Orange (the planet inside the star)";
        rule(flag("TalkedOrangeKing"), "Find the hidden dolls across Orange, and ask the Orange jester for hints");
        rule(holds("Clue8"), "You finished the hunt, talk to the Orange king");
        rule(flag("FinishedOrangeHunt"), "Go get the shard in the Pocuri nebula");
        endShard = "Sun";
    }
    if (endShard != nullptr)
        rule(shard(endShard), "You are ready to end this chapter, go back to the solar system to choose a new chapter");

    if (chapter == 10) {
        advice = "Go back to Ceres, talk to Linguini/Ziniguini/Bananini";
        rule(flag("PlayedChapter10Anim"), "You need to retrieve all shard remains and put them on the desk at Ceres castle");
        rule(holds("ShieldNullifier"), "You are ready to go to the MadScientist fortress on Earth. Good luck!");
    }
    return advice;
}
