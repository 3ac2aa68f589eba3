// Generated board and history logs for the log viewers' benchmarks (Shift-JIS lines).
#pragma once

#include <cstdint>
#include <string>

#include "codec/sjis_text.h"
#include "codec/text_lines.h"

namespace tessary::bench {

// `posts` posts of about 20 lines each in pages of 20 between navigation lines; one thread,
// "大きなスレッド", has exactly `big_thread` members spread over the log, the other posts start
// a topic or answer an earlier one with "Re:" or "RE:".
inline TextLines BoardLog(int posts, int big_thread) {
  const std::string header_tail = Utf8ToSjis("  投稿者：名無し  投稿日：2024/05/01 12:00");
  const std::string body = Utf8ToSjis("本文の行です。ログの表示を確かめるための文章が続きます。");
  const std::string nav = Utf8ToSjis("《前のページ | 次のページ》");
  const std::string big = Utf8ToSjis("大きなスレッド");
  const std::string topic = Utf8ToSjis("話題（その");
  const std::string close = Utf8ToSjis("）");
  TextLines log;
  log.Reserve(static_cast<size_t>(posts) * 21 * 60, static_cast<size_t>(posts) * 21);
  uint32_t seed = 23;
  const int every = posts / big_thread;
  for (int n = 0; n < posts; ++n) {
    if (n % 20 == 0) log.AddLine(nav);
    seed = seed * 1664525u + 1013904223u;
    std::string title;
    if (n % every == 0 && n / every < big_thread) {
      title = n == 0 ? big : (n % 2 ? "Re: " : "RE:") + big;
    } else if (n > 100 && seed % 3 == 0) {
      title = "Re: " + topic + std::to_string(seed % static_cast<uint32_t>(n)) + close;
    } else {
      title = topic + std::to_string(n) + close;
    }
    log.AddLine(title + header_tail);
    for (int k = 0; k < 18; ++k) log.AddLine(body);
    log.AddLine("");
  }
  log.AddLine(nav);
  return log;
}

// `records` records of four lines under "[ date ]" stamps.
inline TextLines HistoryLog(int records) {
  const std::string opened = Utf8ToSjis(" ] フォルダを開きました");
  const std::string folder = Utf8ToSjis("  フォルダ：/home/user/文書/");
  TextLines log;
  log.AddLine("ostrel history");
  for (int n = 0; n < records; ++n) {
    log.AddLine("[ 2024/06/01 " + std::to_string(n) + opened);
    log.AddLine(folder + std::to_string(n));
    log.AddLine("  count: " + std::to_string(n % 97));
    log.AddLine("");
  }
  log.AddLine("end");
  return log;
}

}  // namespace tessary::bench
