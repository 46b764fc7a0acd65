#pragma once

#include <cstdint>
#include <string>

#include "platform/page_server.h"

// What the page server needs of each system beyond what its HTTP library does alike on both:
// the listening socket's options, and why a bind failed. Defined once for Windows (win32/) and
// once for the native build (posix/).
namespace tarvik::platform::listen_socket {

// Before the bind: the port is taken only when nobody listens on it, and it cannot be taken over
// by another program while the server listens.
void Prepare(std::uintptr_t socket);

// Binds a socket of its own to the IPv4 address and port again and says why it fails; used only
// after the server's own bind failed, to tell the user what went wrong.
[[nodiscard]] ListenResult WhyBindFails(const std::string& address, uint16_t port);

}  // namespace tarvik::platform::listen_socket
