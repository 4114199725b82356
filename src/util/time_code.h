#pragma once
#include <string>

// Demo time in ms as "hh:mm:ss,mmm" (83456 gives "00:01:23,456"); hours are
// not wrapped, so 100 hours print as "100:00:00,000".
std::string time_code(int ms);
