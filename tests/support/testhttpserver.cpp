#include "support/testhttpserver.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

TestHttpServer::TestHttpServer(Script script) : m_script(std::move(script))
{
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int yes = 1;
    ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(m_listener, 8);
    socklen_t length = sizeof address;
    ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread(&TestHttpServer::serve, this);
}

TestHttpServer::~TestHttpServer()
{
    m_stopping = true;
    m_thread.join();
    ::close(m_listener);
}

QList<QByteArray> TestHttpServer::requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

QByteArray TestHttpServer::answer(int status, const QByteArray& body, bool withLength)
{
    QByteArray head = "HTTP/1.0 " + QByteArray::number(status) + " Status\r\n";
    if (withLength)
        head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    return head + "Content-Type: text/plain\r\n\r\n" + body;
}

void TestHttpServer::serve()
{
    while (!m_stopping) {
        pollfd waiting{m_listener, POLLIN, 0};
        if (::poll(&waiting, 1, 50) <= 0)
            continue;
        const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            continue;
        QByteArray request;
        char buffer[1024];
        while (!request.contains("\r\n\r\n") && !m_stopping) {
            pollfd readable{connection, POLLIN, 0};
            if (::poll(&readable, 1, 50) <= 0)
                continue;
            const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
            if (got <= 0)
                break;
            request.append(buffer, got);
        }
        {
            std::lock_guard lock(m_mutex);
            m_requests << request;
        }
        m_script(
            request,
            [connection](const QByteArray& bytes) {
                ::send(connection, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL);
            },
            [this] { return m_stopping.load(); });
        ::shutdown(connection, SHUT_RDWR);
        ::close(connection);
    }
}
