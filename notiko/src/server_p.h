#pragma once

// Bookkeeping of the component server: how many controls are alive, so that
// DllCanUnloadNow can tell whether the library is still in use.
namespace notiko::server {

void instanceCreated();
void instanceDestroyed();

} // namespace notiko::server
