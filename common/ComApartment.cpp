#include "common/ComApartment.h"

#include "common/SystemApi.h"

namespace {

enum class Apartment { NotJoined, Joined, Unavailable };
Apartment state = Apartment::NotJoined;

}  // namespace

bool JoinComApartment() {
  if (state == Apartment::NotJoined) {
    const ComApi* com = ComFunctions();
    state = com && SUCCEEDED(com->CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))
                ? Apartment::Joined
                : Apartment::Unavailable;
  }
  return state == Apartment::Joined;
}

void LeaveComApartment() {
  if (state == Apartment::Joined) ComFunctions()->CoUninitialize();
  state = Apartment::NotJoined;
}
