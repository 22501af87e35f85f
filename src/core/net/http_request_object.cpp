#include "core/net/http_request_object.h"

namespace quillet {

bool HttpRequestObject::SetCredentials(const Text& user, const Text& password, int flag) {
  if (flag == 0) {
    serverUser_ = user;
    serverPassword_ = password;
    return true;
  }
  if (flag == 1) {
    proxyUser_ = user;
    proxyPassword_ = password;
    return true;
  }
  return false;
}

}  // namespace quillet
