// The image-file seam on GDI+: encoders found by MIME type, JPEG quality through the
// encoder parameters.
#include "platform/ImageFiles.h"

#include <windows.h>
// GDI+ needs windows.h first, and objidl.h for IStream.
#include <algorithm>
#include <cstring>
#include <gdiplus.h>
#include <memory>
#include <objidl.h>
#include <vector>

namespace kesmaro {

namespace {

ImageFileStatus statusOf(Gdiplus::Status status)
{
    return status == Gdiplus::Ok ? ImageFileStatus::Ok
                                 : static_cast<ImageFileStatus>(static_cast<int>(status));
}

// GDI+ is started for each call and shut down after it: calls are rare (a screenshot, a
// pattern image) and nothing stays loaded between them.
class GdiplusSession {
public:
    GdiplusSession()
    {
        const Gdiplus::GdiplusStartupInput input;
        m_ok = Gdiplus::GdiplusStartup(&m_token, &input, nullptr) == Gdiplus::Ok;
    }
    ~GdiplusSession()
    {
        if (m_ok)
            Gdiplus::GdiplusShutdown(m_token);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool ok() const { return m_ok; }

private:
    ULONG_PTR m_token = 0;
    bool m_ok = false;
};

bool encoderFor(const wchar_t* mimeType, CLSID& clsid)
{
    UINT count = 0;
    UINT size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0)
        return false;
    // The codec records are followed by the strings they point to, in one block.
    std::vector<std::byte> block(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(block.data());
    if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok)
        return false;
    for (UINT i = 0; i < count; ++i) {
        if (std::wcscmp(codecs[i].MimeType, mimeType) == 0) {
            clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

} // namespace

ImageFileStatus WriteImageFile(const PixelBuffer& picture, const std::filesystem::path& path,
                               ImageFormat format, int jpegQuality)
{
    if (!picture.isWhole())
        return ImageFileStatus::NoPicture;
    const GdiplusSession session;
    if (!session.ok())
        return ImageFileStatus::GenericError;
    const wchar_t* mime = format == ImageFormat::Bmp   ? L"image/bmp"
                          : format == ImageFormat::Png ? L"image/png"
                                                       : L"image/jpeg";
    CLSID encoder;
    if (!encoderFor(mime, encoder))
        return ImageFileStatus::NotImplemented;
    // 32bppRGB is our BGRA with the fourth byte unused: the file comes out opaque.
    std::vector<std::uint8_t> pixels = picture.bgra;
    Gdiplus::Bitmap bitmap(picture.width, picture.height, picture.width * 4, PixelFormat32bppRGB,
                           pixels.data());
    if (bitmap.GetLastStatus() != Gdiplus::Ok)
        return statusOf(bitmap.GetLastStatus());
    ULONG quality = static_cast<ULONG>(std::clamp(jpegQuality, 0, 100));
    Gdiplus::EncoderParameters parameters{};
    parameters.Count = 1;
    parameters.Parameter[0].Guid = Gdiplus::EncoderQuality;
    parameters.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
    parameters.Parameter[0].NumberOfValues = 1;
    parameters.Parameter[0].Value = &quality;
    return statusOf(
        bitmap.Save(path.c_str(), &encoder, format == ImageFormat::Jpeg ? &parameters : nullptr));
}

ImageFileContent ReadImageFile(const std::filesystem::path& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return {{}, ImageFileStatus::FileNotFound};
    const GdiplusSession session;
    if (!session.ok())
        return {{}, ImageFileStatus::GenericError};
    Gdiplus::Bitmap bitmap(path.c_str());
    if (bitmap.GetLastStatus() != Gdiplus::Ok)
        return {{}, ImageFileStatus::NoPicture};
    const auto width = static_cast<int>(bitmap.GetWidth());
    const auto height = static_cast<int>(bitmap.GetHeight());
    PixelBuffer pixels(width, height);
    // GDI+ converts whatever the file holds into the buffer we hand it, row by row.
    Gdiplus::BitmapData data{};
    data.Width = static_cast<UINT>(width);
    data.Height = static_cast<UINT>(height);
    data.Stride = width * 4;
    data.PixelFormat = PixelFormat32bppRGB;
    data.Scan0 = pixels.bgra.data();
    Gdiplus::Rect area(0, 0, width, height);
    const Gdiplus::Status locked =
        bitmap.LockBits(&area, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                        PixelFormat32bppRGB, &data);
    if (locked != Gdiplus::Ok)
        return {{}, statusOf(locked)};
    bitmap.UnlockBits(&data);
    for (std::size_t i = 3; i < pixels.bgra.size(); i += 4)
        pixels.bgra[i] = 0xFF;
    return {std::move(pixels), ImageFileStatus::Ok};
}

} // namespace kesmaro
