// Plain-socket HTTP for the data-server tests.
#include "tests/dataserver/rawhttp.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tarmel::testsupport {

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

std::string HttpAnswer::header(const std::string& name) const {
    std::istringstream in(head);
    std::string line;
    const std::string wanted = Lower(name) + ":";
    while (std::getline(in, line)) {
        if (Lower(line.substr(0, wanted.size())) == wanted) {
            std::string value = line.substr(wanted.size());
            while (!value.empty() && (value.front() == ' ')) value.erase(value.begin());
            while (!value.empty() && (value.back() == '\r' || value.back() == ' '))
                value.pop_back();
            return value;
        }
    }
    return std::string();
}

HttpAnswer RawRequest(int port, const std::string& request, int timeoutMs) {
    HttpAnswer answer;
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return answer;
    }
    size_t sent = 0;
    while (sent < request.size()) {
        ssize_t n = send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;  // the server may answer and close before reading everything
        sent += static_cast<size_t>(n);
    }
    std::string received;
    char buffer[65536];
    size_t headEnd = std::string::npos;
    size_t wanted = std::string::npos;
    while (true) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, timeoutMs) <= 0) break;
        ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        received.append(buffer, static_cast<size_t>(n));
        if (headEnd == std::string::npos) {
            headEnd = received.find("\r\n\r\n");
            if (headEnd != std::string::npos) {
                answer.head = received.substr(0, headEnd + 2);
                std::string length = answer.header("Content-Length");
                if (!length.empty()) wanted = headEnd + 4 + std::stoul(length);
            }
        }
        if (wanted != std::string::npos && received.size() >= wanted) break;
    }
    close(fd);
    if (headEnd == std::string::npos) return answer;
    answer.body = received.substr(headEnd + 4);
    if (wanted != std::string::npos) answer.body.resize(wanted - headEnd - 4);
    if (answer.head.rfind("HTTP/1.", 0) == 0 && answer.head.size() > 12) {
        answer.status = std::atoi(answer.head.c_str() + 9);
    }
    return answer;
}

HttpAnswer ClientGet(int port, const std::string& target, const std::string& idClient) {
    std::string url = target + "&idClient=" + idClient;
    std::string encoded;
    for (char c : url) {
        if (c == ' ') {
            encoded += "%20";
        } else if (c == '#') {
            encoded += "%23";
        } else {
            encoded += c;
        }
    }
    return RawRequest(port, "GET " + encoded + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" +
                                "Accept: text/html, */*\r\nConnection: close\r\n\r\n");
}

std::string MultipartRequest(const std::string& path, const std::vector<Part>& parts,
                             const std::string& contentType) {
    const std::string boundary = "--------TarmelTestBoundary4711";
    std::string body;
    for (const Part& part : parts) {
        body += "--" + boundary + "\r\n";
        body += "Content-Disposition: form-data; name=\"" + part.name + "\"";
        if (!part.filename.empty()) body += "; filename=\"" + part.filename + "\"";
        body += "\r\n";
        if (!part.filename.empty()) body += "Content-Type: file\r\n";
        body += "\r\n" + part.data + "\r\n";
    }
    body += "--" + boundary + "--\r\n";
    const std::string type =
        contentType.empty() ? "multipart/form-data; boundary=" + boundary : contentType;
    return "POST " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: " + type +
           "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" +
           body;
}

HttpAnswer MultipartPost(int port, const std::string& path, const std::vector<Part>& parts,
                         const std::string& contentType) {
    return RawRequest(port, MultipartRequest(path, parts, contentType));
}

}  // namespace tarmel::testsupport
