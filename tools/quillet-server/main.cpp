// quillet-server: the bundled service on loopback. Stops cleanly on SIGTERM
// or SIGINT; every change is committed as it is made.

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "community_site.h"
#include "probe_site.h"
#include "quillet_server.h"
#include "server_options.h"

int main(int argc, char** argv) {
  using namespace quillet::server;
  const ParsedOptions options = ParseServerOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (options.showHelp) {
    std::fputs(ServerUsage().c_str(), stdout);
    return 0;
  }
  if (!options.error.empty()) {
    std::fprintf(stderr, "quillet-server: %s\n%s", options.error.c_str(), ServerUsage().c_str());
    return 2;
  }

  // Block the stop signals in every thread; this one waits for them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  QuilletServer server(options.config);
  std::string error;
  if (!server.Start(&error)) {
    std::fprintf(stderr, "quillet-server: %s\n", error.c_str());
    return 1;
  }
  std::fprintf(stderr, "quillet-server: listening on %s\n", server.BaseUrl().c_str());
  // The HTTPS side: the probe page (and the community pages of that host).
  ProbeSiteConfig site = ProbeSiteConfigFromBuild();
  site.page = [&server, marker = site.marker] {
    return CommunityHomeHtml(marker, server.Store().CountAccounts(),
                             static_cast<std::int64_t>(FeaturedPosts().size()));
  };
  site.routes = RegisterCommunityPages;
  ProbeSite probeSite(site);
  if (!probeSite.Start(&error)) {
    std::fprintf(stderr, "quillet-server: %s\n", error.c_str());
    return 1;
  }
  std::fprintf(stderr, "quillet-server: community site and probe page on %s\n",
               probeSite.Url().c_str());

  int signal = 0;
  sigwait(&stopSignals, &signal);
  std::fprintf(stderr, "quillet-server: stopping\n");
  probeSite.Stop();
  server.Stop();
  return 0;
}
