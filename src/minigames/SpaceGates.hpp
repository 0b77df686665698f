// Wormholes in space that carry the party to a chapter's place once the way is open: closed
// while the quest for one of their shards runs and that shard is not held yet.
#pragma once

#include "foundation/main.hpp"
#include "scenes/Background.hpp"
#include "scenes/Objects.hpp"

#include <istream>
#include <string>
#include <vector>

namespace sf {
class RenderTarget;
}

class SpaceChapterGate {
public:
    Point tile{0, 0};
    std::string chapter;     // names the gate's picture and the quest flag it records
    std::string destination; // the scene the trip ends in
    std::vector<std::string> shards;
    Background tripBackground;
    Flame rocket;
    bool travelling = false;
    int tripFrame = 0;
    int tripLength = 500;
    // Whether the party stood on the gate at the scene's last step: a party that comes back
    // to a parked rocket (after a trip, or once the gate reopens) is not sent off again until
    // it has left the tile and come back onto it.
    bool underParty = false;

    // "<x> <y> <chapter> <destination> <shard1> <shard2>"; missing names stay empty, and two
    // shard entries are appended in any case.
    void read(std::istream& in);
    bool isOpen() const;
    void startTravel();
    // One frame of the trip; at its end the game switches to the destination.
    void updateTravel();
    void draw(sf::RenderTarget& window, Point viewOffset) const;

    bool operator==(const SpaceChapterGate& o) const {
        return tile == o.tile && chapter == o.chapter && destination == o.destination &&
               shards == o.shards;
    }
};

// The flag that records a running quest for a shard: "Getting<name>Shard".
std::string shardQuestFlag(const std::string& name);

class Scene;
// One frame of the scene's gates: a travelling gate goes on with its trip; an open gate under
// the party starts one. On a space scene the party travels in the steered rocket.
void updateSpaceGates(Scene& scene);
// Places a gate from a "SpaceChapterGate" line unless an equal one or another on its tile is
// there already.
void addSpaceGate(Scene& scene, std::istream& args);
// The first travelling gate, or null.
const SpaceChapterGate* travellingGate(const Scene& scene);
