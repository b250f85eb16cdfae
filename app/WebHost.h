#pragma once
// The maker's web site, as the link and the help page show it.

constexpr const char kWebHost[] = "www.mirefold.com";
constexpr const char kWebHoverText[] = "Visit mirefold.com";
constexpr const char kHelpUrl[] = "http://www.mirefold.com/installqw.htm";
