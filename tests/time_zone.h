// Sets the process's time zone (a POSIX TZ text, so no zone files are needed) for one scope
// and restores the previous one.
#ifndef QX_TESTS_TIME_ZONE_H
#define QX_TESTS_TIME_ZONE_H

#include <cstdlib>
#include <ctime>
#include <string>

class TimeZone {
public:
    explicit TimeZone(const char* zone) {
        const char* old = std::getenv("TZ");
        m_had = old != nullptr;
        if (m_had)
            m_old = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone() {
        if (m_had)
            setenv("TZ", m_old.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;

private:
    bool m_had = false;
    std::string m_old;
};

#endif
