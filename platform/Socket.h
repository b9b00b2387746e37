// The socket layer of the OS layer: TCP client connections, listeners and
// their error type.
#pragma once

#include "platform/SocketError.h"
#include "platform/TcpListener.h"
#include "platform/TcpSocket.h"
