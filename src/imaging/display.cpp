#include "imaging/display.h"

int devicebits = 24;
