#include "PlayheadOverlay.h"

PlayheadOverlay::PlayheadOverlay() = default;

PlayheadOverlay::~PlayheadOverlay() = default;
