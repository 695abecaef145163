#include "animation/animation.h"

const char AnimationClassName[] = "VistrelAnimation";

// Stand-ins until animations arrive: nothing to register yet.
int InitializeAnimation() { return 0; }

void DeinitializeAnimation() {}
