// A companion library that lacks every entry point but DateAl1.
extern "C" __attribute__((visibility("default"))) double DateAl1(double today) { return today + 1; }
