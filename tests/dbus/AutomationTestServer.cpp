// The automation server as the real program serves it, with doubles in place of the office, so that the bus
// tests need no office. A source whose name holds "slow" takes two seconds to convert.
#include "cli/dbus/AutomationServer.h"
#include "support/FakeRunParts.h"

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
        []() -> std::unique_ptr<RunParts> {
            auto parts = std::make_unique<test::FakeRunParts>();
            parts->component.onConvert = [](const ConversionProperties& properties) {
                if (properties.SourceFile.find("slow") != std::string::npos)
                    std::this_thread::sleep_for(std::chrono::seconds(2));
            };
            return parts;
        },
        options);
}
