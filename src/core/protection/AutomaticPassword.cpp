#include "protection/AutomaticPassword.h"

namespace pyxa {

void ApplyGlobalPassword(TContainer& container, const std::string& password)
{
    container.GlobalPassword = password;
    container.Host.SetStatusText(password.empty() ? "Automatic password has been cleared."
                                                  : "Automatic password has been assigned.");
    container.Host.GlobalPasswordChanged();
}

}  // namespace pyxa
