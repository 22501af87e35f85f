#pragma once

// The statistics list of the home page: registered accounts, forum members,
// yesterday's posts, and the user line.

#include <array>
#include <functional>

#include "core/home/page_fetch.h"
#include "core/text/text.h"

namespace quillet {

inline constexpr std::size_t kStatisticsLines = 4;

// Called with (position, line) as each line becomes known, so a list can
// show the first counts while later pages are still loading.
using AddStatisticsLine = std::function<void(std::size_t position, const Text& line)>;

// Fetches the account server's index.php and the community home page twice
// (once per count) and builds the four lines; a count that cannot be found
// leaves its brackets empty. `accountBaseUrl` ends with "/".
std::array<Text, kStatisticsLines> LoadSiteStatistics(const PageFetch& fetch,
                                                      const Text& accountBaseUrl,
                                                      const Text& communityUrl,
                                                      const AddStatisticsLine& addLine = {});

// The user line as it reads before anyone has signed in.
Text GuestUserLine();

}  // namespace quillet
