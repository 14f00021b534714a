#include "update/ftp/curl_ftp.h"

#include <curl/curl.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <system_error>

#include "update/transfer_watch.h"

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
  int out = -1;
  std::uint64_t received = 0;
  std::uint64_t maxBytes = 0;
  bool tooLarge = false;
  int writeError = 0;  ///< errno of a failed write
  bool tooSlow = false;
  TransferWatch* watch = nullptr;
  const std::function<void(std::uint64_t)>* progress = nullptr;
  std::atomic<bool>* aborted = nullptr;
};

namespace {

std::size_t WriteBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto* r = static_cast<CurlFtp::Request*>(user);
  const std::size_t n = size * count;
  if (r->out < 0) return n;
  if (r->received + n > r->maxBytes) {
    r->tooLarge = true;
    return 0;
  }
  for (std::size_t done = 0; done < n;) {
    const ssize_t w = ::write(r->out, data + done, n - done);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) {
      r->writeError = w < 0 ? errno : ENOSPC;
      return 0;
    }
    done += static_cast<std::size_t>(w);
  }
  r->received += n;
  if (r->progress && *r->progress) (*r->progress)(r->received);
  return n;
}

int Progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  // libcurl calls this at least once a second, also while it waits for the server.
  auto* r = static_cast<CurlFtp::Request*>(user);
  if (r->aborted->load()) return 1;
  if (r->watch &&
      r->watch->TooSlow(std::chrono::steady_clock::now().time_since_epoch(), r->received)) {
    r->tooSlow = true;
    return 1;
  }
  return 0;
}

/// The reason a write to the download failed, in the user's words.
std::string WriteFailure(int error) {
  if (error == ENOSPC || error == EDQUOT || error == EFBIG) return "the disk is full";
  return std::string("the file cannot be written: ") + std::strerror(error);
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
  // A download is watched by the rate floor; libcurl's own low-speed limit stays off.
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, 0L);
  TransferWatch watch(std::chrono::milliseconds(timeouts_.windowMilliseconds),
                      timeouts_.floorBytes);
  watch.Start(std::chrono::steady_clock::now().time_since_epoch());
  if (request.body) request.watch = &watch;
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
  if (request.writeError != 0) throw std::runtime_error(WriteFailure(request.writeError));
  if (request.tooSlow) throw std::runtime_error(kServerStoppedSending);
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
  // A new private file: whatever already has this name (a planted link included) is never
  // opened, followed or truncated.
  const int out = ::open(local.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (out < 0) {
    const int error = errno;
    throw std::runtime_error("Cannot create " + local.string() + ": " + std::strerror(error));
  }
  Request request;
  request.path = (directory_.empty() ? "" : directory_ + "/") + remote;
  request.body = true;
  request.out = out;
  request.maxBytes = maxBytes;
  request.progress = &progress;
  try {
    Perform(request);
  } catch (...) {
    ::close(out);
    ::unlink(local.c_str());
    throw;
  }
  int error = ::fsync(out) == 0 ? 0 : errno;
  if (::close(out) != 0 && error == 0) error = errno;
  if (error != 0) {
    ::unlink(local.c_str());
    throw std::runtime_error(WriteFailure(error));
  }
}

void CurlFtp::Disconnect() {
  // Cleaning up the handle says "QUIT" on a connection that is still open.
  if (curl_) curl_easy_cleanup(static_cast<CURL*>(curl_));
  curl_ = nullptr;
  connected_ = false;
  aborted_ = false;
}

}  // namespace quillmere
