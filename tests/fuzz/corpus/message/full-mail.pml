<?xml version="1.0" encoding="UTF-8"?>
<message>
<id>
<class>GW.MESSAGE.MAIL</class>
<account>Robin Ashdown</account>
<mapi>4A1B2C3D.dom1.po1.100.1.1.1@1</mapi>
</id>
<props>
<core>
<archived>false</archived>
<notify-del>false</notify-del>
<routed>false</routed>
<routed-eol>false</routed-eol>
<read>true</read>
<private>false</private>
<notify-open>false</notify-open>
<hidden>false</hidden>
<opened>true</opened>
<deleted>false</deleted>
<convattach>false</convattach>
<rev-no>1</rev-no>
<reply-days-req>0</reply-days-req>
<reply-req>0</reply-req>
<from>Ellis Fenwick</from>
<subject>Quarterly figures</subject>
<view>mail</view>
<date-create>20240312T091500</date-create>
<date-modified>20240312T091700</date-modified>
<boxtype>1</boxtype>
<priority>2</priority>
<sender email-type="SMTP" email-address="ellis@example.org" address-type="1">Ellis Fenwick</sender>
<sharer email-address="robin@example.org">Robin</sharer>
<enc-folders>
<folder id="7">Projects</folder>
</enc-folders>
<recipients>
<recipient display-name="Ann" target-type="0">ann@example.org</recipient>
<recipient display-name="Ben" target-type="1">ben@example.org</recipient>
<recipient target-type="2">cc@example.org</recipient>
</recipients>
</core>
<fields>
<field name="Plain" type="1">value</field>
<field name="Packed" type="4">eJwrSEzOTk1RKEvMKU0FAB4hBKY=</field>
</fields>
<body>
<plain><![CDATA[Line one
Line ]]&gt; two]]></plain>
<Properties>charset=utf-8</Properties>
</body>
<attachments>
<attach display-name="report.txt" file-name="report.txt">
<![CDATA[eJxLy0wvLUot5gIADrEDAA==]]>
</attach>
<attach display-name="Header" file-name="Header" system="true">
<![CDATA[eJxzK8rPtVKo4OUCAA7UAn4=]]>
</attach>
<attach display-name="Mime.822" file-name="Mime.822">
<![CDATA[eJwLLk3KSk0usVKo4OXi5UrKT6kEADc6BX8=]]>
</attach>
<attach display-name="Part.1.2" file-name="Part.1.2">
<![CDATA[eJwrSCwqAQAEPwG4]]>
</attach>
</attachments>
<email>
<completed>false</completed>
<delegated>false</delegated>
<notify-completed>false</notify-completed>
<date-delivered>20240312T091600</date-delivered>
<personal-subject>Mine</personal-subject>
<forwarded>1</forwarded>
<replied>true</replied>
<categories>
<category primary="true">Blue</category>
<category primary="false">Red</category>
</categories>
</email>
</props>
<save-log date-saved="20240312T091800" status="0">
<item type="0">Saved by the archiver</item>
<item type="1">Saved</item>
</save-log>
</message>
