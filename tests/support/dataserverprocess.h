// The real tarmel-dataserver for tests: started on a free loopback port over a fresh copy of the
// demo database (built once per test program) with its own photo folder inside an FTP root,
// stopped at the end. The database is a SQLite file, or, when the test runs on PostgreSQL (see
// pgtestcluster.h), a database of the test cluster created from the demo's and dropped at the end.
// Plain C++, usable from Qt and non-Qt tests alike. The server ends with the thread that started
// it (so a crashed test leaves no server behind): start it from a thread that outlives it.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace tarmel::testsupport {

class DataServerProcess {
public:
    // Starts the server over a fresh copy of the demo database; extra command-line options are
    // passed through. Throws std::runtime_error when the server cannot be started.
    explicit DataServerProcess(std::vector<std::string> extraArgs = {});
    // On the database named rather than the test program's (PostgreSQL needs the test cluster),
    // to compare the answers of both.
    enum class Database { SQLite, PostgreSQL };
    DataServerProcess(Database database, std::vector<std::string> extraArgs);
    // A second server over the database and the photo folder of another one (which must outlive
    // it), as the servers of a group behind one load balancer; its own folder holds its logs.
    struct Beside {
        const DataServerProcess& other;
    };
    explicit DataServerProcess(Beside beside, std::vector<std::string> extraArgs = {});
    // Stops the server (SIGTERM, then waits) and removes its scratch folder.
    ~DataServerProcess();
    DataServerProcess(const DataServerProcess&) = delete;
    DataServerProcess& operator=(const DataServerProcess&) = delete;

    // "http://127.0.0.1:<port>/tarmel/"
    std::string baseHRef() const;
    // "http://127.0.0.1:<port>/tarmel/images/"
    std::string imagesUrl() const;
    int port() const { return port_; }
    // The SQLite file, or the PostgreSQL connection ("host=... user=... dbname=...").
    const std::string& databasePath() const { return databasePath_; }
    // The photos the server serves at imagesUrl(): ftpRoot() + "/www/voimages".
    const std::string& photoFolder() const { return photoFolder_; }
    // "<folder>/ftp": an FTP server rooted here stores photos straight into photoFolder(), as the
    // photo FTP server of a dealership stores them where its images address serves them.
    std::string ftpRoot() const;
    // The scratch folder holding the database, the FTP root with the photos and the server's logs.
    const std::string& folder() const { return folder_; }
    // What the server wrote to stderr so far (one line per request).
    std::string log() const;

    // Stops the server the hard way (SIGKILL) and waits for it: nothing is flushed or closed.
    void kill();
    // Stops the server cleanly (SIGTERM) and waits for it.
    void stop();
    // Starts the server again over the same database and photo folder (on a new free port).
    void start();
    // Sends SIGHUP and waits until the server has read its configuration again: true when it
    // listens with the new settings (port() is then its new port), false when it said it keeps
    // the settings it had. Throws when the server ends or says nothing in time.
    bool reload();
    bool running() const { return pid_ > 0; }
    // What the destructor does, for a server that is never deleted: stops it and removes its
    // folder and its PostgreSQL database.
    void removeAll();

    // The executable under test.
    static std::string executable();

private:
    void waitForExit();

    std::vector<std::string> extraArgs_;
    std::string folder_;
    std::string databasePath_;
    std::string pgName_;  // the PostgreSQL database, empty on SQLite
    std::string photoFolder_;
    std::string outPath_;  // the running server's stdout
    pid_t pid_ = -1;
    int port_ = 0;
    int starts_ = 0;
};

}  // namespace tarmel::testsupport
