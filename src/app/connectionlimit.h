#pragma once

// Sets the operating system's limit on half-open outgoing TCP connections. Linux has no such
// limit to raise, so this does nothing; start-up and shutdown still ask for 150 and 10.
void SetHalfOpenConnectionLimit(int limit);
