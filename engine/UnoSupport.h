#pragma once

// Small helpers shared by the engine's UNO code. Only engine sources include this: the office
// headers stay out of everything else.
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/uno/Any.hxx>
#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/Sequence.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <rtl/ustring.hxx>

#include <string>
#include <utility>
#include <vector>

namespace css = ::com::sun::star;

namespace slidemill {

rtl::OUString ToOUString(const std::string& utf8);
std::string ToUtf8(const rtl::OUString& text);
// A file URL for a path (made absolute first); empty when the path cannot be expressed.
rtl::OUString ToFileUrl(const std::string& path);

using NamedValues = std::vector<std::pair<const char*, css::uno::Any>>;
css::uno::Sequence<css::beans::PropertyValue> MakeProperties(const NamedValues& values);

// The context of this process's side of the connection, bootstrapped on first use; null
// (with a reason) when the office's runtime cannot be found.
css::uno::Reference<css::uno::XComponentContext> LocalUnoContext(std::string& error);

// True once the process has begun to exit: the connection's objects may already be torn down,
// so no call may go through them any more (not even a release).
bool UnoRuntimeEnding();

// The message of the exception being handled, for logs and error texts.
std::string CurrentUnoExceptionText();

} // namespace slidemill
