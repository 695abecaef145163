// Sprite animations in child windows of the saver window.
#pragma once

#include "platform/kernel.h"

extern const char AnimationClassName[];

// Registers the animation window class; non-zero on success.
int InitializeAnimation();
void DeinitializeAnimation();
