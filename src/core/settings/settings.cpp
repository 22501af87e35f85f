#include "core/settings/settings.h"

#include "quillet/build_settings.h"

namespace quillet {

Settings BuildSettings() {
  Settings s;
  s.accountBaseUrl = build::kAccountBaseUrl;
  s.appId = build::kAppId;
  s.appKey = build::kAppKey;
  s.probeCheckUrl = build::kProbeCheckUrl;
  s.probePageUrl = build::kProbePageUrl;
  s.probeMarker = build::kProbeMarkerUtf8;
  s.communityUrl = build::kCommunityUrl;
  s.updateServerUrl = build::kUpdateServerUrl;
  s.timeSiteUrl = build::kTimeSiteUrl;
  return s;
}

}  // namespace quillet
