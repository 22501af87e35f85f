#include "gui/app_state.h"

namespace quillet {

void ReleaseGlobals(AppState& state) {
  for (Text& field : state.updateRecord.fields) field.clear();
  state.accountNumber.clear();
  state.accountClient.Destroy();
  state.sessionToken.clear();
  state.quickToolPaths.clear();
  for (Text& link : state.homeLinkPaths) link.clear();
  state.shadowImageSmall.Release();
  state.shadowImageLarge.Release();
}

}  // namespace quillet
