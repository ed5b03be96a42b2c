// A string written as JSON: between quotes, the quotes, backslashes and control characters escaped.
// The command line and the history's statistics write their JSON with it.
#pragma once

#include <string>

std::string JsonChaine(const std::string& s);
