#pragma once

// Every address the program opens or names, in one place.
namespace addresses {

inline constexpr char16_t Site[] = u"https://voldar.example.org";
inline constexpr char16_t DeveloperPage[] = u"https://voldar.example.org/author";
inline constexpr char16_t DownloadPage[] =
    u"https://voldar.example.org/downloadplus.php?lng=ru&catid=129";
inline constexpr char16_t VersionFile[] = u"https://voldar.example.org/ver.dat";

inline constexpr char16_t DeveloperName[] = u"Voldar";
inline constexpr char16_t DeveloperMail[] = u"author@voldar.example.org";
inline constexpr char16_t DeveloperMessenger[] = u"ICQ 123-456-789";
inline constexpr char16_t SupportName[] = u"Поддержка";
inline constexpr char16_t SupportMail[] = u"support@voldar.example.org";
inline constexpr char16_t SupportMessenger[] = u"ICQ 987-654-321";

} // namespace addresses
