#pragma once
// The text of the default error display: the error's message, ending in a full stop unless
// it already ends in punctuation that sorts at or before "." (or is empty).
#include <string>

std::string ErrorDisplayText(const std::string& message);
