#include "probe_site.h"

#include <httplib.h>
#include <openssl/evp.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <atomic>
#include <chrono>
#include <memory>

#include "quillet/build_settings.h"

namespace quillet::server {

namespace {

struct KeyFree {
  void operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
};
struct CertFree {
  void operator()(X509* c) const { X509_free(c); }
};

bool AddExtension(X509* cert, int nid, const char* value) {
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, cert, cert, nullptr, nullptr, 0);
  X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
  if (extension == nullptr) return false;
  const bool added = X509_add_ext(cert, extension, -1) == 1;
  X509_EXTENSION_free(extension);
  return added;
}

// A P-256 key and a certificate for localhost / 127.0.0.1, valid for a year.
bool MakeIdentity(std::unique_ptr<EVP_PKEY, KeyFree>& key, std::unique_ptr<X509, CertFree>& cert) {
  key.reset(EVP_EC_gen("P-256"));
  cert.reset(X509_new());
  if (!key || !cert) return false;
  X509_set_version(cert.get(), 2);
  ASN1_INTEGER_set(
      X509_get_serialNumber(cert.get()),
      static_cast<long>(std::chrono::system_clock::now().time_since_epoch().count() & 0x7FFFFFFF));
  X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
  X509_gmtime_adj(X509_getm_notAfter(cert.get()), 365L * 24 * 3600);
  X509_NAME* name = X509_get_subject_name(cert.get());
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>("localhost"), -1, -1, 0);
  X509_set_issuer_name(cert.get(), name);
  if (X509_set_pubkey(cert.get(), key.get()) != 1) return false;
  if (!AddExtension(cert.get(), NID_subject_alt_name, "DNS:localhost,IP:127.0.0.1")) return false;
  return X509_sign(cert.get(), key.get(), EVP_sha256()) > 0;
}

int PortOfUrl(const std::string& url) {
  const std::size_t scheme = url.find("://");
  const std::size_t hostStart = scheme == std::string::npos ? 0 : scheme + 3;
  const std::size_t hostEnd = url.find('/', hostStart);
  const std::string host =
      url.substr(hostStart, hostEnd == std::string::npos ? std::string::npos : hostEnd - hostStart);
  const std::size_t colon = host.rfind(':');
  if (colon == std::string::npos) return url.rfind("https", 0) == 0 ? 443 : 80;
  try {
    return std::stoi(host.substr(colon + 1));
  } catch (...) {
    return 443;
  }
}

}  // namespace

ProbeSiteConfig ProbeSiteConfigFromBuild() {
  ProbeSiteConfig config;
  config.port = PortOfUrl(quillet::build::kProbePageUrl);
  config.marker = quillet::build::kProbeMarkerUtf8;
  return config;
}

std::string ProbePageHtml(const std::string& marker) {
  return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Quillet</title></head>\n"
         "<body><form action=\"/s\"><input name=\"wd\"><input type=\"submit\" value=\"" +
         marker + "\"></form></body></html>\n";
}

ProbeSite::ProbeSite(ProbeSiteConfig config) : config_(std::move(config)) {}

ProbeSite::~ProbeSite() { Stop(); }

bool ProbeSite::Start(std::string* error) {
  if (https_) return true;
  std::unique_ptr<EVP_PKEY, KeyFree> key;
  std::unique_ptr<X509, CertFree> cert;
  if (!MakeIdentity(key, cert)) {
    if (error) *error = "cannot make the probe site's certificate";
    return false;
  }
  // The server copies what it needs into its own TLS context.
  https_ = std::make_unique<httplib::SSLServer>(cert.get(), key.get());
  if (!https_->is_valid()) {
    if (error) *error = "cannot set up TLS for the probe site";
    https_.reset();
    return false;
  }
  std::function<std::string()> page = config_.page;
  if (!page) page = [fixed = ProbePageHtml(config_.marker)] { return fixed; };
  https_->Get("/", [page](const httplib::Request&, httplib::Response& res) {
    res.set_content(page(), "text/html; charset=utf-8");
  });
  if (config_.routes) config_.routes(*https_);
  port_ = config_.port == 0
              ? https_->bind_to_any_port(config_.bind)
              : (https_->bind_to_port(config_.bind, config_.port) ? config_.port : -1);
  if (port_ <= 0) {
    if (error) *error = "cannot listen on " + config_.bind + ":" + std::to_string(config_.port);
    https_.reset();
    port_ = 0;
    return false;
  }
  auto ended = std::make_shared<std::atomic<bool>>(false);
  thread_ = std::thread([this, ended] {
    https_->listen_after_bind();
    ended->store(true);
  });
  // stop() only reaches a server that is already listening.
  while (!https_->is_running() && !ended->load()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (!https_->is_running()) {
    if (error) *error = "the probe site stopped at once";
    Stop();
    return false;
  }
  return true;
}

void ProbeSite::Stop() {
  if (!https_) return;
  https_->stop();
  if (thread_.joinable()) thread_.join();
  https_.reset();
}

std::string ProbeSite::Url() const {
  return "https://" + config_.bind + ":" + std::to_string(port_) + "/";
}

}  // namespace quillet::server
