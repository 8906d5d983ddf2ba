// The automation server as the real program serves it, with the deterministic component in
// place of the office, so that the bus tests need no office. A source whose name holds "slow"
// takes two seconds to convert.
#include "cli/dbus/AutomationServer.h"
#include "support/FakeComponent.h"

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

int main(int argc, char** argv) {
    using namespace slidemill;
    AutomationServerOptions options;
    if (argc > 1)
        options.idleTimeout = std::chrono::milliseconds(std::atoi(argv[1]));
    return RunAutomationServer(
        argc, argv,
        [] {
            auto component = std::make_unique<test::FakeComponent>();
            component->onConvert = [](const ConversionProperties& properties) {
                if (properties.SourceFile.find("slow") != std::string::npos)
                    std::this_thread::sleep_for(std::chrono::seconds(2));
            };
            return component;
        },
        options);
}
