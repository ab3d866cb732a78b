#include "automation/hresult.h"

QString HResult::text() const
{
    if (!message.isEmpty())
        return message;
    switch (code) {
    case S_OK:
        return QStringLiteral("The operation completed successfully.");
    case E_NOTIMPL:
        return QStringLiteral("Not implemented.");
    case E_NOINTERFACE:
        return QStringLiteral("No such interface supported.");
    case DISP_E_MEMBERNOTFOUND:
        return QStringLiteral("Member not found.");
    case DISP_E_BADPARAMCOUNT:
        return QStringLiteral("Invalid number of parameters.");
    default:
        return QStringLiteral("Error 0x%1.").arg(uint32_t(code), 8, 16, QLatin1Char('0'));
    }
}
