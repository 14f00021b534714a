#include "update/ftp/curl_ftp.h"

#include <curl/curl.h>

#include <cstdio>
#include <stdexcept>
#include <system_error>

namespace quillmere {

namespace {

void InitialiseCurlOnce() {
  static const CURLcode rc = curl_global_init(CURL_GLOBAL_DEFAULT);
  if (rc != CURLE_OK) throw std::runtime_error("The FTP library cannot start");
}

}  // namespace

struct CurlFtp::Request {
  std::string path;
  bool body = false;
  std::FILE* out = nullptr;
  std::uint64_t received = 0;
  std::uint64_t maxBytes = 0;
  bool tooLarge = false;
  const std::function<void(std::uint64_t)>* progress = nullptr;
  std::atomic<bool>* aborted = nullptr;
};

namespace {

std::size_t WriteBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto* r = static_cast<CurlFtp::Request*>(user);
  const std::size_t n = size * count;
  if (!r->out) return n;
  if (r->received + n > r->maxBytes) {
    r->tooLarge = true;
    return 0;
  }
  if (std::fwrite(data, 1, n, r->out) != n) return 0;
  r->received += n;
  if (r->progress && *r->progress) (*r->progress)(r->received);
  return n;
}

int Progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  // libcurl calls this at least once a second, also while it waits for the server.
  return static_cast<CurlFtp::Request*>(user)->aborted->load() ? 1 : 0;
}

}  // namespace

CurlFtp::CurlFtp(FtpTimeouts timeouts) : timeouts_(timeouts) {
  InitialiseCurlOnce();
}

CurlFtp::~CurlFtp() {
  if (curl_) curl_easy_cleanup(static_cast<CURL*>(curl_));
}

std::string CurlFtp::Url(const std::string& path) const {
  const bool ipv6 = login_.host.find(':') != std::string::npos;
  return "ftp://" + (ipv6 ? "[" + login_.host + "]" : login_.host) + ":" +
         std::to_string(login_.port) + "/" + path;
}

void CurlFtp::Perform(Request& request) {
  if (aborted_) throw std::runtime_error("The transfer was aborted");
  if (!curl_) curl_ = curl_easy_init();
  CURL* c = static_cast<CURL*>(curl_);
  if (!c) throw std::runtime_error("The FTP library cannot start");
  char error[CURL_ERROR_SIZE] = {};
  const std::string url = Url(request.path);
  request.aborted = &aborted_;
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "ftp");
  curl_easy_setopt(c, CURLOPT_USERNAME, login_.user.c_str());
  curl_easy_setopt(c, CURLOPT_PASSWORD, login_.password.c_str());
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, timeouts_.connectMilliseconds);
  curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, timeouts_.responseSeconds);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, timeouts_.stallSeconds);
  // One "CWD Website/QuillmereHome" rather than one per path segment.
  curl_easy_setopt(c, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
  curl_easy_setopt(c, CURLOPT_NOBODY, request.body ? 0L : 1L);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, WriteBody);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &request);
  curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, Progress);
  curl_easy_setopt(c, CURLOPT_XFERINFODATA, &request);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
  const CURLcode rc = curl_easy_perform(c);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, nullptr);
  if (rc == CURLE_OK) return;
  if (request.tooLarge) throw std::runtime_error("The server sends more than expected");
  if (rc == CURLE_ABORTED_BY_CALLBACK) throw std::runtime_error("The transfer was aborted");
  std::string text = curl_easy_strerror(rc);
  if (error[0]) text += std::string(": ") + error;
  throw std::runtime_error(text);
}

void CurlFtp::Connect(const FtpLogin& login) {
  login_ = login;
  directory_.clear();
  Request request;  // the root folder without a body: connect and log in only
  Perform(request);
  connected_ = true;
}

void CurlFtp::ChangeDirectory(const std::string& directory) {
  Request request;
  request.path = directory + "/";
  Perform(request);
  directory_ = directory;
}

void CurlFtp::Download(const std::string& remote, const std::filesystem::path& local,
                       std::uint64_t maxBytes, const std::function<void(std::uint64_t)>& progress) {
  // The file arrives under a scratch name and takes its own name only when complete.
  std::filesystem::path part = local;
  part += ".part";
  std::FILE* out = std::fopen(part.c_str(), "wb");
  if (!out) throw std::runtime_error("Cannot create " + part.string());
  Request request;
  request.path = (directory_.empty() ? "" : directory_ + "/") + remote;
  request.body = true;
  request.out = out;
  request.maxBytes = maxBytes;
  request.progress = &progress;
  std::error_code ignored;
  try {
    Perform(request);
  } catch (...) {
    std::fclose(out);
    std::filesystem::remove(part, ignored);
    throw;
  }
  if (std::fclose(out) != 0) {
    std::filesystem::remove(part, ignored);
    throw std::runtime_error("Cannot write " + local.string());
  }
  std::filesystem::rename(part, local);
}

void CurlFtp::Disconnect() {
  // Cleaning up the handle says "QUIT" on a connection that is still open.
  if (curl_) curl_easy_cleanup(static_cast<CURL*>(curl_));
  curl_ = nullptr;
  connected_ = false;
  aborted_ = false;
}

}  // namespace quillmere
