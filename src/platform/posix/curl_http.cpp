#include "platform/posix/curl_http.h"

#include <curl/curl.h>

#include <memory>
#include <utility>

#include "platform/os_call_count.h"

namespace tarvik::curl {
namespace {

constexpr long kFirstSuccess = 200;
constexpr long kPastSuccess = 300;
// The longest the transfer waits for the network before the progress callback is asked again.
constexpr int kProgressCheckMs = 100;

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
using Easy = std::unique_ptr<CURL, EasyDeleter>;

struct MultiDeleter {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
using Multi = std::unique_ptr<CURLM, MultiDeleter>;

struct Body {
  std::string Bytes;
  size_t Most = 0;
};

// Collects the body; a body past its limit ends the transfer as failed.
size_t Collect(char* data, size_t size, size_t count, void* target) {
  auto& body = *static_cast<Body*>(target);
  const size_t bytes = size * count;
  if (body.Bytes.size() + bytes > body.Most)
    return 0;
  body.Bytes.append(data, bytes);
  return bytes;
}

// libcurl asks this at every step of the transfer, also while nothing arrives; non-zero ends it.
int Progress(void* abandon, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  const auto& asked = *static_cast<const platform::HttpAbandon*>(abandon);
  return asked && asked() ? 1 : 0;
}

// The transfer in steps of at most kProgressCheckMs, each ending with the progress callback, so
// that a request given up ends within one step. (curl_easy_perform waits up to a second between
// calls of the callback while nothing arrives.)
CURLcode Perform(CURL* handle) {
  const Multi multi(curl_multi_init());
  if (!multi || curl_multi_add_handle(multi.get(), handle) != CURLM_OK)
    return CURLE_FAILED_INIT;
  int running = 1;
  while (curl_multi_perform(multi.get(), &running) == CURLM_OK && running > 0) {
    if (curl_multi_poll(multi.get(), nullptr, 0, kProgressCheckMs, nullptr) != CURLM_OK)
      break;
  }
  CURLcode result = CURLE_FAILED_INIT;
  int queued = 0;
  while (const CURLMsg* message = curl_multi_info_read(multi.get(), &queued)) {
    if (message->msg == CURLMSG_DONE)
      result = message->data.result;
  }
  curl_multi_remove_handle(multi.get(), handle);
  return result;
}

}  // namespace

CurlHttp::~CurlHttp() {
  if (ready_)
    curl_global_cleanup();
}

bool CurlHttp::Ready() {
  std::call_once(started_, [this] { ready_ = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
  return ready_;
}

std::optional<std::string> CurlHttp::Get(const std::string& url, const platform::HttpLimits& limits,
                                         const platform::HttpAbandon& abandon) {
  TARVIK_COUNT_OS_CALL("curl HTTP GET");
  if (!Ready())
    return std::nullopt;
  const Easy easy(curl_easy_init());
  if (!easy)
    return std::nullopt;
  Body body{.Bytes = {}, .Most = limits.MostBodyBytes};
  CURL* handle = easy.get();
  const bool set = curl_easy_setopt(handle, CURLOPT_URL, url.c_str()) == CURLE_OK &&
                   curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK &&
                   // Signals would reach the whole program; the time-outs hold without them.
                   curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
                   curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS,
                                    static_cast<long>(limits.ConnectTimeoutMs)) == CURLE_OK &&
                   curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS,
                                    static_cast<long>(limits.TotalTimeoutMs)) == CURLE_OK &&
                   curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &Collect) == CURLE_OK &&
                   curl_easy_setopt(handle, CURLOPT_WRITEDATA, &body) == CURLE_OK &&
                   curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &Progress) == CURLE_OK &&
                   curl_easy_setopt(handle, CURLOPT_XFERINFODATA,
                                    const_cast<platform::HttpAbandon*>(&abandon)) == CURLE_OK &&
                   curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L) == CURLE_OK &&
                   curl_easy_setopt(handle, CURLOPT_USERAGENT, "Tarvik/2.33") == CURLE_OK;
  if (!set || Perform(handle) != CURLE_OK)
    return std::nullopt;
  long status = 0;
  if (curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK ||
      status < kFirstSuccess || status >= kPastSuccess)
    return std::nullopt;
  return std::move(body.Bytes);
}

}  // namespace tarvik::curl
