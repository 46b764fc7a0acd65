#include <winsock2.h>
#include <ws2tcpip.h>

#include "platform/posix/listen_socket.h"

namespace tarvik::platform::listen_socket {

// Exclusive use: no other program can bind the same port while the server listens, which
// SO_REUSEADDR on Windows would allow.
void Prepare(std::uintptr_t socket) {
  const BOOL yes = TRUE;
  static_cast<void>(::setsockopt(static_cast<SOCKET>(socket), SOL_SOCKET, SO_EXCLUSIVEADDRUSE,
                                 reinterpret_cast<const char*>(&yes), sizeof(yes)));
}

ListenResult WhyBindFails(const std::string& address, uint16_t port) {
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_port = ::htons(port);
  if (::inet_pton(AF_INET, address.c_str(), &where.sin_addr) != 1)
    return ListenResult::AddressNotAvailable;
  const SOCKET probe = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (probe == INVALID_SOCKET)
    return ListenResult::Failed;
  Prepare(static_cast<std::uintptr_t>(probe));
  ListenResult result = ListenResult::Failed;
  if (::bind(probe, reinterpret_cast<const sockaddr*>(&where), sizeof(where)) == SOCKET_ERROR) {
    const int error = ::WSAGetLastError();
    // Another program's exclusive use of the port reads as access denied.
    if (error == WSAEADDRINUSE || error == WSAEACCES)
      result = ListenResult::AddressInUse;
    else if (error == WSAEADDRNOTAVAIL)
      result = ListenResult::AddressNotAvailable;
  }
  ::closesocket(probe);
  return result;
}

}  // namespace tarvik::platform::listen_socket
