#include "app/connectionlimit.h"

void SetHalfOpenConnectionLimit(int) {}
