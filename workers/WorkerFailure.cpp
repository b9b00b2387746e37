#include "workers/WorkerFailure.h"

#include <filesystem>
#include <new>

#include "http/HttpError.h"
#include "platform/FileSystem.h"
#include "platform/SocketError.h"
#include "protocol/CStream.h"
#include "protocol/ProtocolError.h"
#include "signing/SignatureError.h"
#include "system/PackageError.h"

namespace qvs {

WorkerFailure WorkerFailure::FromCurrentException() {
    using enum Kind;
    try {
        throw;
    } catch (const platform::SocketError& error) {
        return {Network, error.what()};
    } catch (const HttpError& error) {
        return {Http, error.what()};
    } catch (const ProtocolError& error) {
        return {Protocol, error.what()};
    } catch (const StreamReadError& error) {
        return {Protocol, error.what()};
    } catch (const PackageError& error) {
        return {Package, error.what()};
    } catch (const SignatureError& error) {
        return {Signature, error.what()};
    } catch (const platform::FileCreateError& error) {
        return {Disk, error.what()};
    } catch (const std::filesystem::filesystem_error& error) {
        return {Disk, error.what()};
    } catch (const std::bad_alloc&) {
        return {Memory, "out of memory"};
    } catch (const std::exception& error) {
        return {Other, error.what()};
    } catch (...) {
        return {Other, "unknown error"};
    }
}

const char* KindName(WorkerFailure::Kind kind) {
    switch (kind) {
    case WorkerFailure::Kind::Network:
        return "network";
    case WorkerFailure::Kind::Protocol:
        return "protocol";
    case WorkerFailure::Kind::Http:
        return "http";
    case WorkerFailure::Kind::Package:
        return "package";
    case WorkerFailure::Kind::Signature:
        return "signature";
    case WorkerFailure::Kind::Disk:
        return "disk";
    case WorkerFailure::Kind::Memory:
        return "memory";
    case WorkerFailure::Kind::Other:
        break;
    }
    return "other";
}

} // namespace qvs
