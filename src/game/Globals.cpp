#include "game/Globals.hpp"

#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/LoadingScreen.hpp"
#include "scenes/Scene.hpp"

Game* game = nullptr;
People* people = nullptr;
MagicRepository* magicRepository = nullptr;
ItemList* itemList = nullptr;
PotionRepository* potionRepository = nullptr;

// The resource store knows neither scenes nor the loading screen: the game hands it both before
// main runs, so that every store, a test's too, asks the global Game for a scene's music and
// draws its progress on the loading screen.
namespace {
[[maybe_unused]] const bool storeSeamsInstalled = [] {
    setDefaultSceneMusicLookup([](const std::string& sceneName, bool battle) {
        Scene& scene = game->sceneByName(sceneName);
        return battle ? scene.battle.music : scene.music;
    });
    setLoadingProgress(showLoadingScreen);
    return true;
}();
} // namespace
