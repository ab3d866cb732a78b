#pragma once

#include <QString>
#include <cstdint>

// The outcome of an automation call: a status code and, for failures that carry one, a
// message.
struct HResult {
    int32_t code = 0;
    QString message;

    static constexpr int32_t S_OK = 0;
    static constexpr int32_t E_NOTIMPL = int32_t(0x80004001u);
    static constexpr int32_t E_NOINTERFACE = int32_t(0x80004002u);
    static constexpr int32_t E_FAIL = int32_t(0x80004005u);
    static constexpr int32_t DISP_E_MEMBERNOTFOUND = int32_t(0x80020003u);
    static constexpr int32_t DISP_E_BADPARAMCOUNT = int32_t(0x8002000Eu);
    static constexpr int32_t DISP_E_EXCEPTION = int32_t(0x80020009u);

    static HResult ok() { return {}; }
    static HResult notImplemented() { return {E_NOTIMPL, {}}; }
    static HResult noInterface() { return {E_NOINTERFACE, {}}; }
    static HResult memberNotFound() { return {DISP_E_MEMBERNOTFOUND, {}}; }
    static HResult badParamCount() { return {DISP_E_BADPARAMCOUNT, {}}; }
    // A failure that explains itself.
    static HResult failure(const QString& message) { return {DISP_E_EXCEPTION, message}; }

    bool succeeded() const { return code >= 0; }
    bool failed() const { return code < 0; }
    // The message, or the code in hexadecimal when there is none.
    QString text() const;
};
