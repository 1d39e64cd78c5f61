#pragma once
// The one step the socket library of a platform may need before its first
// call (Winsock's start-up); the rest of the seam is in socket.h.

namespace klipora::net {

void startSocketLibrary();

}  // namespace klipora::net
