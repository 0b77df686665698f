// The loading screen: "Loading..." and two progress bars, drawn anew by every loader that has
// made progress. It keeps nothing between calls.
#pragma once

#include <SFML/Graphics/RenderWindow.hpp>

#include <functional>

// overall fills the lower bar, fileFraction (the current step) the upper one; neither is clamped.
// A null window draws nothing (the observer still hears the call).
void showLoadingScreen(sf::RenderWindow* window, float overall, float fileFraction);

// Hears every call of showLoadingScreen before it draws; returns the observer it replaces.
using LoadingObserver = std::function<void(float overall, float fileFraction)>;
LoadingObserver setLoadingObserver(LoadingObserver observer);
