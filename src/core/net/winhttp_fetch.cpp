#include "core/net/winhttp_fetch.h"

#include "core/net/cookies.h"
#include "core/net/curl_transfer.h"
#include "core/net/default_headers.h"
#include "core/net/header_names.h"
#include "core/net/method_names.h"
#include "core/net/request_headers.h"
#include "core/net/url_parts.h"
#include "core/platform/event_pump.h"
#include "core/script/regex_object.h"
#include "core/text/encodings.h"

namespace quillet {

namespace {

constexpr long kDefaultTimeoutMs = 30000;
constexpr std::size_t kCharsetWindow = 1024;

class Steps {
 public:
  explicit Steps(const WinHttpFetchArgs& args) : args_(args) {}
  void Pump() const {
    if (args_.pump != nullptr) args_.pump->PumpPending();
  }
  Text Fail(std::string_view utf8Message) const {
    if (args_.statusOrError != nullptr) *args_.statusOrError = Gbk(utf8Message);
    return {};
  }

 private:
  const WinHttpFetchArgs& args_;
};

// Lines that the platform would refuse to add: no colon, a name that is not
// a token, stray CR or LF.
bool AddHeaderBlock(const Text& block, RequestHeaders* headers) {
  for (const Text& line : TextSplit(block, "\r\n")) {
    if (line.empty()) continue;
    if (!headers->AddLine(line)) return false;
  }
  return true;
}

Text StatusTextOf(const Text& headers) {
  const std::size_t lineEnd = headers.find_first_of("\r\n");
  const Text first = headers.substr(0, lineEnd);
  return first.size() > 9 ? first.substr(9) : Text();
}

Text DecodePage(const Bytes& body) {
  Text page = TextFromBytes(body);
  RegexObject regex;
  if (!regex.Create(R"(<meta.+?charset=[^\w]?([-\w]+))",
                    std::string_view(page).substr(0, kCharsetWindow))) {
    return page;
  }
  const Text charset = regex.GetSubMatchText(1, 1);
  if (charset.empty() || charset == "gbk" || charset == "gb2312") return page;
  const std::string decoded =
      ConvertCharset(std::string_view(reinterpret_cast<const char*>(body.data()), body.size()),
                     charset.c_str(), "CP936");
  return decoded.substr(0, decoded.find('\0'));
}

}  // namespace

Text WinHttpFetch(const WinHttpFetchArgs& args) {
  const Steps steps(args);
  const UrlParts parts = CrackUrl(args.url);
  steps.Pump();
  if (!parts.ok) return steps.Fail("701 解析URL地址失败!");

  const long timeoutMs = args.timeout >= 1 ? args.timeout * 1000L : kDefaultTimeoutMs;
  const int method = MethodNumber(args.method);

  Text copy = args.extraHeaders != nullptr ? *args.extraHeaders : Text();
  if (!copy.empty()) copy += "\r\n";
  if (args.completeHeaders) AppendWinHttpDefaultHeaders(&copy, method);
  if (args.normaliseHeaderNames) copy = NormaliseHeaderNames(copy);
  if (TextContains(copy, "Connection")) {
    for (const Text& line : TextSplit(copy, "\r\n")) {
      if (!line.starts_with("Connection")) continue;
      if (TextAfterLast(line, "Connection: ") == "keep-alive") {
        copy = TextReplace(copy, "Connection: keep-alive\r\n", "");
      }
      break;
    }
  }
  const Text cookies = args.cookieText != nullptr ? *args.cookieText : Text();
  if (!TextContains(copy, "Cookie:", true) && !cookies.empty()) {
    copy += "\r\n";
    if (!TextContains(cookies, "Cookie:", true)) copy += "Cookie: ";
    copy += cookies;
    copy += "\r\n";
  }
  RequestHeaders headers;
  const bool headersAdded = AddHeaderBlock(copy, &headers);
  steps.Pump();
  if (!headersAdded) return steps.Fail("710 设置协议头失败!");

  const Bytes body = !args.postBytes.empty() ? args.postBytes : BytesFromText(args.postText);

  CurlTransferRequest request;
  request.url = parts.Origin();
  request.requestTarget = EscapeRequestTarget(parts.path);
  request.method = std::string(MethodName(method));
  request.headers = headers.lines();
  request.body = &body;
  request.sendBody = !body.empty() || method == 1 || method == 3;
  request.proxy = args.proxy;
  if (!args.proxyUserName.empty() && !args.proxyPassword.empty()) {
    request.proxyUser = args.proxyUserName;
    request.proxyPassword = args.proxyPassword;
  }
  if (!args.userName.empty() && !args.password.empty()) {
    request.serverUser = args.userName;
    request.serverPassword = args.password;
  }
  request.connectTimeoutMs = timeoutMs;
  request.idleTimeoutMs = timeoutMs;
  request.followRedirects = !args.noRedirects;
  request.pump = args.pump;
  CurlTransferResult response = CurlTransfer(request);
  steps.Pump();

  switch (response.failure) {
    case TransferFailure::kNone:
      break;
    case TransferFailure::kSetUp:
      return steps.Fail("704 创建WinHttp请求失败!");
    case TransferFailure::kConnect:
      return steps.Fail("703 创建WinHttp连接失败!");
    case TransferFailure::kSend:
      return steps.Fail("711 发送请求失败!");
    case TransferFailure::kReceive:
      return steps.Fail("712 服务器未响应!");
    case TransferFailure::kRead:
      // The reading stops; what came so far is used.
      steps.Fail("713 读取数据失败!");
      break;
  }
  if (!response.headersComplete) return {};

  const Text responseHeaders = response.rawHeaders;
  if (args.responseHeaders != nullptr) *args.responseHeaders = responseHeaders;
  if (args.statusOrError != nullptr) *args.statusOrError = StatusTextOf(responseHeaders);

  Text returned;
  for (const Text& line : TextSplit(responseHeaders, "\r\n")) {
    if (args.redirectLocation != nullptr && line.size() >= 10 &&
        TextLower(std::string_view(line).substr(0, 10)) == "location: ") {
      *args.redirectLocation = line.substr(10);
    }
  }
  returned = CollectSetCookies(responseHeaders);
  if (args.mergeCookies && args.cookieText != nullptr && !args.cookieText->empty()) {
    returned = MergeCookies(args.cookieText, &returned);
  }
  if (args.returnedCookies != nullptr) *args.returnedCookies = returned;

  if (args.bodyBytes != nullptr) *args.bodyBytes = response.body;
  Text page = DecodePage(response.body);
  steps.Pump();
  return page;
}

}  // namespace quillet
