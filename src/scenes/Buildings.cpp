#include "scenes/Buildings.hpp"

#include "foundation/NumberRanges.hpp"
#include "foundation/TextReader.hpp"

namespace {

const std::vector<std::string> KIND_WORDS{"House",   "Building",        "Tower",
                                          "Castle",  "QV1House",        "Pyramid",
                                          "TextureBuilding", "Circus",  "TreeBuilding",
                                          "MushroomBuilding", "CaveEntry"};

} // namespace

const std::vector<std::string>& buildingKindNames() { return KIND_WORDS; }

bool isBuildingKind(const std::string& word) {
    for (const auto& k : KIND_WORDS)
        if (k == word) return true;
    return false;
}

std::shared_ptr<BaseBuilding> makeBuilding(const std::string& kind) {
    if (kind == "House") return std::make_shared<House>();
    if (kind == "Building") return std::make_shared<Building>();
    if (kind == "Tower") return std::make_shared<Tower>();
    if (kind == "Castle") return std::make_shared<Castle>();
    if (kind == "QV1House") return std::make_shared<QV1House>();
    if (kind == "Pyramid") return std::make_shared<Pyramid>();
    if (kind == "TextureBuilding") return std::make_shared<TextureBuilding>();
    if (kind == "Circus") return std::make_shared<Circus>();
    if (kind == "TreeBuilding") return std::make_shared<TreeBuilding>();
    if (kind == "MushroomBuilding") return std::make_shared<MushroomBuilding>();
    if (kind == "CaveEntry") return std::make_shared<CaveEntry>();
    return nullptr;
}

std::shared_ptr<BaseBuilding> readBuilding(const std::string& kind, std::istream& rest) {
    auto building = makeBuilding(kind);
    if (!building) fatalAssert("Buildings", 40, kind);
    building->load(rest);
    return building;
}

std::string BaseBuilding::pictureName() const { return kindName(); }

void BaseBuilding::update() { ++frame; }

std::vector<CeilingObject> BaseBuilding::ceilingObjects() const { return {}; }

void BaseBuilding::load(std::istream& in) {
    WordReader reader(in, "Buildings", 52);
    tile.x = reader.integer("Building", "x");
    tile.y = reader.integer("Building", "y");
    width = reader.integer("Building", "width");
    height = reader.integer("Building", "height");
    if (width < 1 || height < 1) fatalAssert("Buildings", 57, "building size " + std::to_string(width) + " " + std::to_string(height));
    std::string w;
    while (reader.next(w)) {
        if (w == "DOOR") {
            const int dx = reader.integer("Building", "DOOR"), dy = reader.integer("Building", "DOOR");
            door = tile.offset(dx, dy);
        } else if (w == "SCENE") {
            scene = reader.word("scene name");
        } else if (w == "SIGN") {
            sign = reader.word("sign");
        } else if (w == "COLOR") {
            const int r = reader.integer(), g = reader.integer(), b = reader.integer();
            colour = sf::Color(static_cast<sf::Uint8>(r), static_cast<sf::Uint8>(g),
                               static_cast<sf::Uint8>(b), 255);
        } else if (w == "TEXTURE") {
            texture = reader.word("texture");
        } else if (w == "DAMAGED") {
            damaged = true;
        } else {
            fatalAssert("Buildings", 76, w);
        }
    }
    // A door named without a place goes in the middle of the lowest row.
    if (!scene.empty() && door.x == -1) door = {tile.x + width / 2, tile.y + height - 1};
}

std::set<Point> BaseBuilding::coveredTiles() const {
    std::set<Point> out;
    for (int x = tile.x; x < tile.x + width; ++x)
        for (int y = tile.y; y < tile.y + height; ++y)
            if (Point{x, y} != door) out.insert({x, y});
    return out;
}

// Roof furniture stands in the row above the footprint, its foot on the roof's top edge.
std::vector<CeilingObject> House::ceilingObjects() const {
    return {{"Chimney", {tile.x + width - 1, tile.y - 1}, 0.5f}};
}
std::vector<CeilingObject> Building::ceilingObjects() const {
    return {{"RoofAntenna", {tile.x + width / 2, tile.y - 1}, 0.6f}};
}
std::vector<CeilingObject> Tower::ceilingObjects() const {
    return {{"Pennant", {tile.x + width / 2, tile.y - 1}, 0.6f}};
}
std::vector<CeilingObject> Castle::ceilingObjects() const {
    return {{"Pennant", {tile.x, tile.y - 1}, 0.6f}, {"Pennant", {tile.x + width - 1, tile.y - 1}, 0.6f}};
}
std::vector<CeilingObject> QV1House::ceilingObjects() const {
    return {{"Chimney", {tile.x, tile.y - 1}, 0.5f}};
}
std::vector<CeilingObject> Pyramid::ceilingObjects() const { return {}; }
std::vector<CeilingObject> TextureBuilding::ceilingObjects() const {
    return {{"Chimney", {tile.x + width - 1, tile.y - 1}, 0.5f}};
}
std::vector<CeilingObject> Circus::ceilingObjects() const {
    return {{"Pennant", {tile.x + width / 2, tile.y - 1}, 0.8f}};
}
std::vector<CeilingObject> TreeBuilding::ceilingObjects() const { return {}; }
std::vector<CeilingObject> MushroomBuilding::ceilingObjects() const { return {}; }
std::vector<CeilingObject> CaveEntry::ceilingObjects() const { return {}; }
