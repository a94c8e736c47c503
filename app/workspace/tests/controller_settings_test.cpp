#include <string>

#include "controller_fixture.h"

namespace {

using namespace controller_testing;

class ControllerSettingsTest : public ControllerFixture {
protected:
    void SetUp() override {
        ControllerFixture::SetUp();
        configPath = (dir / L"Config.ini").wstring();
    }

    std::unique_ptr<CImageController> OnConfig() {
        auto controller = std::make_unique<CImageController>();
        controller->GetSettingsFile().m_strPath = configPath;
        return controller;
    }

    std::wstring Stored(const wchar_t* section, const wchar_t* key) {
        wchar_t text[256] = {};
        ::GetPrivateProfileStringW(section, key, L"(missing)", text, 256, configPath.c_str());
        return text;
    }

    std::wstring configPath;
};

TEST_F(ControllerSettingsTest, MissingFileGivesTheDefaultStyle) {
    auto c = OnConfig();
    // Whatever the Config.ini beside the program held at construction.
    c->penStyle = PS_DOT;
    c->unitText = u"cm";
    c->labelFont.weight = 900;
    c->LoadSettings();
    EXPECT_EQ(c->penStyle, PS_SOLID);
    EXPECT_EQ(c->lineWidth, 1);
    EXPECT_EQ(c->drawColour, 0u);
    EXPECT_EQ(c->selectedColour, RGB(200, 0, 0));
    EXPECT_EQ(c->labelBoxShown, 1);
    EXPECT_EQ(c->labelBoxColour, 0x649664u);
    EXPECT_EQ(c->labelMode, 0);
    EXPECT_EQ(c->unitText, u"\u03bcm");
    EXPECT_EQ(c->decimals, 2);
    EXPECT_EQ(c->printMagnification, 1);
    EXPECT_EQ(c->printScale, 1.0f);
    EXPECT_EQ(c->printUnitText, u"\u03bcm");
    EXPECT_EQ(c->labelFont, SystemLogFont());
}

TEST_F(ControllerSettingsTest, SavedSettingsReadBackIntoANewController) {
    auto saved = OnConfig();
    saved->penStyle = PS_DASH;
    saved->lineWidth = 3;
    saved->drawColour = RGB(1, 2, 3);
    saved->selectedColour = RGB(0, 0, 255);
    saved->labelBoxShown = 0;
    saved->labelBoxColour = RGB(9, 8, 7);
    saved->labelMode = CCLObject::kLabelValuesOnly;
    saved->unitText = u"\u03bcm";
    saved->decimals = 4;
    saved->thOption = 7;
    saved->printMagnification = 40;
    saved->printScale = 0.0254f;
    saved->printUnitText = u"mil";
    saved->labelFont.height = -19;
    saved->labelFont.width = 5;
    saved->labelFont.escapement = 900;
    saved->labelFont.orientation = 900;
    saved->labelFont.weight = FW_BOLD;
    saved->labelFont.italic = 1;
    saved->labelFont.underline = 1;
    saved->labelFont.strikeOut = 1;
    saved->labelFont.charSet = GB2312_CHARSET;
    saved->labelFont.outPrecision = OUT_TT_PRECIS;
    saved->labelFont.clipPrecision = CLIP_STROKE_PRECIS;
    saved->labelFont.quality = CLEARTYPE_QUALITY;
    saved->labelFont.pitchAndFamily = FIXED_PITCH | FF_MODERN;
    // 31 characters, the most a font name holds.
    saved->labelFont.SetFaceName(u"Face Name Of Thirty-One Letters");
    saved->SaveSettings();

    auto loaded = OnConfig();
    loaded->LoadSettings();
    EXPECT_EQ(loaded->penStyle, PS_DASH);
    EXPECT_EQ(loaded->lineWidth, 3);
    EXPECT_EQ(loaded->drawColour, RGB(1, 2, 3));
    EXPECT_EQ(loaded->selectedColour, RGB(0, 0, 255));
    EXPECT_EQ(loaded->labelBoxShown, 0);
    EXPECT_EQ(loaded->labelBoxColour, RGB(9, 8, 7));
    EXPECT_EQ(loaded->labelMode, CCLObject::kLabelValuesOnly);
    EXPECT_EQ(loaded->unitText, u"\u03bcm");
    EXPECT_EQ(loaded->decimals, 4);
    EXPECT_EQ(loaded->thOption, 7);
    EXPECT_EQ(loaded->printMagnification, 40);
    EXPECT_EQ(loaded->printScale, 0.0254f);
    EXPECT_EQ(loaded->printUnitText, u"mil");
    EXPECT_EQ(loaded->labelFont, saved->labelFont);
    EXPECT_EQ(loaded->labelFont.FaceName(), u"Face Name Of Thirty-One Letters");

    // The keys and texts other readers of Config.ini rely on.
    EXPECT_EQ(Stored(L"CLdraw", L"Color"), std::to_wstring(RGB(1, 2, 3)));
    EXPECT_EQ(Stored(L"CLdraw", L"LT"), L"3");
    EXPECT_EQ(Stored(L"Option", L"NF"), L"4");
    EXPECT_EQ(Stored(L"Print", L"PBS"), L"0.025400");
    EXPECT_EQ(Stored(L"Print", L"PScl"), L"40");
    EXPECT_EQ(Stored(L"FSet", L"He"), L"-19");
    EXPECT_EQ(Stored(L"FSet", L"Ch"), std::to_wstring(GB2312_CHARSET));
    EXPECT_EQ(Stored(L"FSet", L"Fa"), L"Face Name Of Thirty-One Letters");
}

TEST_F(ControllerSettingsTest, SmallPrintScalesReadBackExactly) {
    for (const float scale : {0.0000625f, 1.0e-7f, 3.3333333f, 12345.678f}) {
        auto saved = OnConfig();
        saved->printScale = scale;
        saved->SaveSettings();
        auto loaded = OnConfig();
        loaded->LoadSettings();
        EXPECT_EQ(loaded->printScale, scale) << Stored(L"Print", L"PBS");
    }
}

TEST_F(ControllerSettingsTest, MicrometreSurvivesAConfigIniKeptInTheCodePage) {
    // The program wrote other settings first: the file is not UTF-16.
    ::WritePrivateProfileStringW(L"Option", L"LAN", L"1", configPath.c_str());
    auto saved = OnConfig();
    saved->unitText = u"\u03bcm";
    saved->printUnitText = u"\u03bcm";
    saved->SaveSettings();
    auto loaded = OnConfig();
    loaded->unitText = u"mm";
    loaded->printUnitText = u"mm";
    loaded->LoadSettings();
    EXPECT_EQ(loaded->unitText, u"\u03bcm");
    EXPECT_EQ(loaded->printUnitText, u"\u03bcm");
    EXPECT_EQ(Stored(L"Option", L"LAN"), L"1");
}

TEST_F(ControllerSettingsTest, UnitTextsThatAreEmptyMeanTheDefaultUnit) {
    ::WritePrivateProfileStringW(L"CLdraw", L"Unit", L"", configPath.c_str());
    ::WritePrivateProfileStringW(L"Print", L"PUnit", L"inch", configPath.c_str());
    auto c = OnConfig();
    c->LoadSettings();
    EXPECT_EQ(c->unitText, u"\u03bcm");
    EXPECT_EQ(c->printUnitText, u"inch");
}

}  // namespace
