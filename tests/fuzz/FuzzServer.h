#pragma once

#include "AppServer.h"
#include "CallLog.h"
#include "DemoSeeder.h"
#include "Schema.h"
#include "SqlSession.h"
#include "WireText.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace fai::appserver {

// What the fuzz targets of the server share: a broken property ends the run loudly, and the
// real server answers on 127.0.0.1 over the demo data of one day, every line of its log checked
// as it is written.

// The demo data of this day: the seeds of the corpus name its branches, clients and days.
inline const QDate kFuzzToday(2026, 3, 10);

inline void Require(bool holds, const char* what, const QString& seen) {
    if (holds) return;
    std::fprintf(stderr, "fuzz: %s: %s\n", what, qPrintable(Excerpt(seen)));
    std::abort();
}

// A message for the user: one short line of text, whatever the input was.
inline void RequireMessage(const QString& text) {
    constexpr qsizetype kMaxMessage = 1000;
    Require(!HasControlCharacter(text), "a message with control characters", text);
    Require(text.size() <= kMaxMessage, "a message that grows with the input", text);
}

inline void RequireMessage(const std::string& bytes) {
    const std::optional<QString> text = DecodeUtf8(bytes);
    Require(text.has_value(), "a message that is not UTF-8", QString::fromStdString(bytes));
    RequireMessage(*text);
}

class FuzzServer {
  public:
    // `prepare` adds to the demo data and to the server's settings.
    explicit FuzzServer(const std::function<void(SqlSession&, AppServerConfig&)>& prepare = {})
        : log_([](const QString& line) {
              constexpr qsizetype kMaxLogLine = 2100;
              Require(!HasControlCharacter(line), "a log line with control characters", line);
              Require(line.size() <= kMaxLogLine, "a log line that grows with the input", line);
          }) {
        AppServerConfig config;
        config.listenAddress = QStringLiteral("127.0.0.1:0");
        config.database.path = dir_.filePath(QStringLiteral("fuzz.sqlite"));
        config.workers = 1;
        {
            SqlSession session(config.database);
            Schema::Upgrade(session);
            DemoSeeder(session, kFuzzToday).SeedIfEmpty();
            if (prepare) prepare(session, config);
        }
        server_ = std::make_unique<AppServer>(config, log_);
        server_->Start();
    }

    int Port() const { return server_->Port(); }

  private:
    // In memory where the system offers it; the database must be a file for its WAL.
    QTemporaryDir dir_{QDir(QStringLiteral("/dev/shm")).exists()
                           ? QStringLiteral("/dev/shm/fai-fuzz-XXXXXX")
                           : QDir::temp().filePath(QStringLiteral("fai-fuzz-XXXXXX"))};
    CallLog log_;
    std::unique_ptr<AppServer> server_;
};

}  // namespace fai::appserver
