#include "app/CKelmoriApp.h"

int main(int argc, char** argv) {
    vantrel::CKelmoriApp app(argc, argv);
    if (!app.InitInstance()) {
        return 1;
    }
    return app.exec();
}
