#include "tls_identity.h"

#include <openssl/evp.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <memory>

namespace quillet::test {

namespace {

struct KeyDeleter {
  void operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
};
struct CertDeleter {
  void operator()(X509* c) const { X509_free(c); }
};

bool AddExtension(X509* cert, int nid, const char* value) {
  X509V3_CTX ctx;
  X509V3_set_ctx_nodb(&ctx);
  X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
  X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
  if (ext == nullptr) return false;
  const bool ok = X509_add_ext(cert, ext, -1) == 1;
  X509_EXTENSION_free(ext);
  return ok;
}

}  // namespace

SSL_CTX* NewSelfSignedServerContext() {
  std::unique_ptr<EVP_PKEY, KeyDeleter> key(EVP_EC_gen("P-256"));
  std::unique_ptr<X509, CertDeleter> cert(X509_new());
  if (!key || !cert) return nullptr;
  X509_set_version(cert.get(), 2);
  ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), 1);
  X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
  X509_gmtime_adj(X509_getm_notAfter(cert.get()), 24 * 3600);
  X509_set_pubkey(cert.get(), key.get());
  X509_NAME* name = X509_get_subject_name(cert.get());
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>("localhost"), -1, -1, 0);
  X509_set_issuer_name(cert.get(), name);
  if (!AddExtension(cert.get(), NID_subject_alt_name, "DNS:localhost,IP:127.0.0.1") ||
      X509_sign(cert.get(), key.get(), EVP_sha256()) == 0) {
    return nullptr;
  }
  SSL_CTX* ctx = SSL_CTX_new(TLS_server_method());
  if (ctx == nullptr) return nullptr;
  if (SSL_CTX_use_certificate(ctx, cert.get()) != 1 ||
      SSL_CTX_use_PrivateKey(ctx, key.get()) != 1) {
    SSL_CTX_free(ctx);
    return nullptr;
  }
  return ctx;
}

}  // namespace quillet::test
