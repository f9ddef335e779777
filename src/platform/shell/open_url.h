// Opening a web address in the user's default browser.
#pragma once

#include <string>

namespace shell {

// Hands the address to the desktop; failures are the desktop's business and are not reported.
void OpenUrl(const std::string& url);

} // namespace shell
