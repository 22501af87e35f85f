#pragma once

// A throw-away self-signed server certificate made when a test starts, so no
// key material lives in the repository.

#include <openssl/ssl.h>

namespace quillet::test {

// A server context holding a fresh P-256 key and a self-signed certificate
// for "localhost" / 127.0.0.1, valid for a day. Null on failure; the caller
// frees it with SSL_CTX_free.
SSL_CTX* NewSelfSignedServerContext();

}  // namespace quillet::test
