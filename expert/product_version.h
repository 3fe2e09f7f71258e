// The expert's own product version, which GetProductVersion ("18.5") and the version record
// ("18.5.0f0") report. It is the product's, not the package's (qxzeva_version.h): a package
// release that changes only what surrounds the module (libraries, headers, packaging) keeps it.
#ifndef QX_EXPERT_PRODUCT_VERSION_H
#define QX_EXPERT_PRODUCT_VERSION_H

#define QX_PRODUCT_VERSION_MAJOR 18
#define QX_PRODUCT_VERSION_MINOR 5
#define QX_PRODUCT_VERSION_PATCH 0

#define QX_PRODUCT_VERSION_TEXT_(value) #value
#define QX_PRODUCT_VERSION_TEXT(value) QX_PRODUCT_VERSION_TEXT_(value)
// "major.minor.patch".
#define QX_PRODUCT_VERSION_STRING                                                                  \
    QX_PRODUCT_VERSION_TEXT(QX_PRODUCT_VERSION_MAJOR)                                              \
    "." QX_PRODUCT_VERSION_TEXT(QX_PRODUCT_VERSION_MINOR) "." QX_PRODUCT_VERSION_TEXT(             \
        QX_PRODUCT_VERSION_PATCH)

#endif
