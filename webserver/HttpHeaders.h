#pragma once

// Numeric ids of the HTTP header fields: general 1xx, request 2xx, response 3xx, entity 4xx.
// The response head is written in ascending id order.
namespace HttpHeader
{
constexpr int CacheControl = 100;
constexpr int Connection = 101;
constexpr int Date = 102;
constexpr int Pragma = 103;
constexpr int Trailer = 104;
constexpr int TransferEncoding = 105;
constexpr int Upgrade = 106;
constexpr int Via = 107;
constexpr int Warning = 108;

constexpr int Accept = 200;
constexpr int AcceptCharset = 201;
constexpr int AcceptEncoding = 202;
constexpr int AcceptLanguage = 203;
constexpr int Authorization = 204;
constexpr int Expect = 205;
constexpr int From = 206;
constexpr int Host = 207;
constexpr int IfMatch = 208;
constexpr int IfModifiedSince = 209;
constexpr int IfNoneMatch = 210;
constexpr int IfRange = 211;
constexpr int IfUnmodifiedSince = 212;
constexpr int MaxForwards = 213;
constexpr int ProxyAuthorization = 214;
constexpr int Range = 215;
constexpr int Referer = 216;
constexpr int TE = 217;
constexpr int UserAgent = 218;

constexpr int AcceptRanges = 300;
constexpr int Age = 301;
constexpr int ETag = 302;
constexpr int Location = 303;
constexpr int ProxyAuthenticate = 304;
constexpr int RetryAfter = 305;
constexpr int Server = 306;
constexpr int Vary = 307;
constexpr int WWWAuthenticate = 308;

constexpr int Allow = 400;
constexpr int ContentEncoding = 401;
constexpr int ContentLanguage = 402;
constexpr int ContentLength = 403;
constexpr int ContentLocation = 404;
constexpr int ContentMD5 = 405;
constexpr int ContentRange = 406;
constexpr int ContentType = 407;
constexpr int Expires = 408;
constexpr int LastModified = 409;
constexpr int ExtensionHeader = 410;
} // namespace HttpHeader
