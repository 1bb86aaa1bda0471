"""Sentence banks of the spam corpus: the unsolicited mail every inbox knows."""

FOOTERS = [
    "To be removed from our mailing list reply with REMOVE in the subject line.",
    "You received this message because your address is in our database. Click here to opt out.",
    "This is a one-time mailing. No further action is required to stop receiving offers.",
    "If you no longer want these exclusive offers, unsubscribe here. Please allow 10 business days.",
    "This message is sent in compliance with all laws. This is not spam.",
    "",
]

GREETINGS = ["Dear Friend,", "Dear Customer,", "Hello,", "Attention!", "Dear Beneficiary,",
             "Dear valued member,", "Hi there,", "Greetings,", "Dear Sir/Madam,", "CONGRATULATIONS!!!"]

SIGN_OFFS = ["Best regards,", "Sincerely,", "Regards,", "Yours faithfully,", "Thank you,", "Act now,"]

SIGNERS = ["Customer Service Department", "Dr. James Williams", "Claims Manager", "Account Security Team",
           "Mrs. Grace Johnson", "The Wealth Team", "Support Center", "Barrister Michael Okoro",
           "Online Pharmacy Support", "Crypto Profit Desk", "Billing Department", "Prize Notification Unit"]

CATEGORIES = {
    "pharmacy": {
        "subjects": [
            "Cheap meds online - save up to 80%", "No prescription needed!!!", "Your discount pharmacy order",
            "Best prices on pills, fast shipping", "Lose 30 pounds in 30 days GUARANTEED", "Miracle weight loss pills",
            "Generic meds at wholesale prices",
        ],
        "body": [
            "Buy brand and generic medications online at the lowest prices, with no prescription required.",
            "Our licensed online pharmacy ships discreetly worldwide in plain packaging.",
            "Save up to 80% on painkillers, sleeping pills, antibiotics and weight loss pills.",
            "No doctor visits, no waiting rooms, no embarrassing questions, just order online.",
            "Lose weight fast without diet or exercise with our all-natural miracle formula.",
            "Thousands of satisfied customers have already dropped three dress sizes in weeks.",
            "Order today and receive FREE bonus pills with every purchase over $99.",
            "We accept all major credit cards and bitcoin, and every order is 100% confidential.",
            "Doctors hate this one simple trick that burns belly fat while you sleep.",
            "Our pills are approved, safe and effective, with a full money back guarantee.",
            "Limited stock available at this special price, order now before the offer expires.",
            "Express overnight delivery to your door with tracking number included.",
            "Stop paying expensive pharmacy prices, our meds are the same quality for a fraction of the cost.",
            "Anti-aging cream that makes you look twenty years younger in just seven days.",
            "Click the link below to visit our online store and choose from over 500 products.",
            "Special offer for new customers: buy two bottles and get the third absolutely free.",
            "Results guaranteed or your money back, no questions asked.",
        ],
    },
    "loan": {
        "subjects": [
            "You have been PRE-APPROVED for a $50,000 loan", "Bad credit? No problem!", "Fast cash loan approved",
            "Lower your monthly payments today", "Get cash in 24 hours", "Debt relief program - final notice",
            "Refinance now at the lowest rates ever",
        ],
        "body": [
            "You have been pre-approved for a personal loan of up to $50,000, regardless of your credit history.",
            "Bad credit, no credit, bankruptcy? Everyone is approved, guaranteed!",
            "Get cash deposited directly into your bank account within 24 hours.",
            "No credit check, no collateral and no paperwork required.",
            "Consolidate all your debts into one low monthly payment and save thousands.",
            "Our lenders are standing by to approve your application in minutes.",
            "Interest rates are at an all-time low, refinance your mortgage now before rates go up.",
            "Simply fill out the short online form and receive your funds instantly.",
            "This is your final notice, your pre-approved offer expires in 48 hours.",
            "Stop collection calls forever with our debt relief program.",
            "A small processing fee is required to release your loan, payable by wire transfer or gift cards.",
            "Why wait? Thousands of customers have already received their cash.",
            "Get the money you need for bills, holidays, a new car or anything you want.",
            "Eliminate your credit card debt legally and pay back only a fraction of what you owe.",
            "Apply now, it only takes two minutes and will not affect your credit score.",
            "Our approval rate is 99%, and you could have your cash by tomorrow.",
        ],
    },
    "lottery": {
        "subjects": [
            "CONGRATULATIONS! You have WON", "Winning notification - claim your prize", "You are our lucky winner!!!",
            "Final notice: unclaimed prize of $1,500,000", "International lottery award", "Your email won the draw",
        ],
        "body": [
            "We are pleased to inform you that your email address has won the sum of $1,500,000 in our international lottery draw.",
            "Your email was selected at random from over 50 million addresses worldwide.",
            "To claim your prize, contact our claims agent immediately with your winning reference number.",
            "Please send your full name, address, phone number, age and occupation to the claims department.",
            "You must claim your winnings within 14 days or the prize will be returned to the treasury.",
            "A small release fee is required to process your payment and transfer the funds to your account.",
            "Keep your winning details confidential until your claim has been processed to avoid double claiming.",
            "You have also won a brand new luxury car and an all-expenses-paid holiday.",
            "This promotion is sponsored by a group of major international companies.",
            "Congratulations once again from all members of our staff, and thank you for being part of our promotion.",
            "Your prize has been insured and is ready for immediate release upon verification.",
            "Winners are entitled to receive their prize by bank transfer or certified cheque.",
            "You are one of only five lucky winners selected in this year's online sweepstakes.",
            "Act now, unclaimed prizes will be forfeited after the deadline.",
            "Click here to claim your reward and enter your payment details.",
        ],
    },
    "phishing": {
        "subjects": [
            "Your account has been suspended", "Urgent: verify your account information", "Unusual sign-in activity detected",
            "Action required: payment failed", "Your parcel could not be delivered", "Security alert: confirm your identity",
            "Your mailbox is full", "Invoice overdue - immediate action required",
        ],
        "body": [
            "We detected unusual activity on your account and have temporarily suspended access for your security.",
            "To restore full access, verify your account information within 24 hours by clicking the link below.",
            "Failure to verify your details will result in permanent closure of your account.",
            "Please confirm your username, password, and card number on our secure verification page.",
            "Your recent payment could not be processed, update your billing information to avoid service interruption.",
            "Your parcel is being held at our depot due to an unpaid shipping fee of $2.99.",
            "Click here to reschedule delivery and pay the outstanding customs charge.",
            "Your mailbox has exceeded its storage limit, log in now to keep receiving messages.",
            "Someone tried to sign in to your account from an unknown device, if this was not you, secure your account now.",
            "Download the attached invoice to review the charges on your account.",
            "For your protection, do not share this message with anyone.",
            "This is an automated security notice, do not reply to this email.",
            "Your tax refund of $843.50 is waiting, submit the form to receive the payment to your card.",
            "We were unable to validate your identity, your account will be locked unless you act immediately.",
            "Log in using the secure link below to confirm your identity and cancel the unauthorized transaction.",
            "Enter your online banking details to complete the verification process.",
        ],
    },
    "getrich": {
        "subjects": [
            "Make $5,000 a week from home", "Earn money online - no experience needed", "Quit your job TODAY",
            "This secret system made me a millionaire", "Work from home opportunity", "Financial freedom is one click away",
        ],
        "body": [
            "I made $12,000 last month working just two hours a day from my kitchen table.",
            "No experience, no selling, no special skills needed, anyone can do it.",
            "This proven system has made ordinary people into millionaires in a matter of months.",
            "Fire your boss and start living the life you deserve with unlimited income.",
            "Join thousands of members who are already earning huge profits every single day.",
            "All you need is a computer, an internet connection and 30 minutes a day.",
            "Spaces in the program are strictly limited, so secure your place now.",
            "This is not a scam and not a pyramid scheme, it is a legitimate business opportunity.",
            "Get paid to fill in simple surveys, stuff envelopes and post on social media.",
            "Start today for a one-time fee of only $49 and receive our complete starter kit.",
            "Imagine waking up to money in your account every morning.",
            "Double your income in 30 days or your money back, guaranteed.",
            "The banks do not want you to know about this secret wealth formula.",
            "Our members are buying new cars, houses and taking luxury holidays, and you can too.",
            "Click below to watch the free video and discover how easy it is to get rich.",
            "Act fast, this offer will be taken down soon.",
        ],
    },
    "crypto": {
        "subjects": [
            "Turn $250 into $10,000 with bitcoin", "Crypto trading bot - 98% win rate", "Last chance to buy before it explodes",
            "Exclusive token presale - 100x guaranteed", "Your crypto wallet needs verification", "Celebrities are investing in this coin",
        ],
        "body": [
            "Our automated crypto trading robot makes profits around the clock with a 98% success rate.",
            "Invest as little as $250 and watch your balance grow every day.",
            "This new coin is set to explode, early investors could see returns of 100x or more.",
            "Join the exclusive presale now before the token is listed on the major exchanges.",
            "Famous entrepreneurs and celebrities are secretly investing in this cryptocurrency.",
            "Send bitcoin to the wallet address below and we will send back double the amount.",
            "Guaranteed daily returns of 5% with zero risk, withdraw your profits at any time.",
            "Your wallet has been flagged, verify your recovery phrase to avoid losing your funds.",
            "Our account managers will guide you step by step to your first profitable trade.",
            "Passive income from staking, mining and trading, all in one powerful platform.",
            "Limited spots available for new investors this week only.",
            "Thousands of people have already become crypto millionaires, do not miss out.",
            "Deposit today and receive a 100% bonus on your first investment.",
            "Act now before the price skyrockets and you regret missing this opportunity.",
            "Register for free and claim your welcome bonus of free tokens.",
        ],
    },
    "inheritance": {
        "subjects": [
            "Urgent business proposal", "Confidential: transfer of funds", "Inheritance claim of a deceased relative",
            "Request for your assistance", "Please reply urgently", "Partnership proposal - strictly confidential",
        ],
        "body": [
            "I am a senior bank officer and I have a confidential business proposal that will benefit us both.",
            "A deceased client of our bank left the sum of $18.5 million with no next of kin.",
            "I am seeking your permission to present you as the beneficiary of these funds.",
            "You will receive 40% of the total sum for your assistance in this transaction.",
            "This transaction is 100% risk-free and legal, and it will be completed within ten working days.",
            "Please treat this matter with the utmost confidentiality.",
            "Kindly reply with your full name, private phone number and bank account details.",
            "I am a widow suffering from a long illness and I wish to donate my fortune to charity through you.",
            "My late husband deposited the funds with a security company abroad before his death.",
            "Due to the political situation in my country I cannot move the money myself.",
            "Upon receipt of your reply, I will send you the documents and the details of the transfer.",
            "May God bless you as you help me fulfil this final wish.",
            "The funds are currently held in a diplomatic consignment awaiting your confirmation.",
            "Your urgent response is needed to avoid the funds being confiscated by the government.",
        ],
    },
    "casino": {
        "subjects": [
            "Your $500 welcome bonus is waiting", "Free spins credited to your account", "Win big tonight!!!",
            "VIP casino invitation", "Jackpot alert - you could be next",
        ],
        "body": [
            "Claim your $500 welcome bonus and 200 free spins at the best online casino.",
            "Play slots, roulette, blackjack and poker from the comfort of your home.",
            "Our jackpot is now over $2,000,000 and could be yours tonight.",
            "Instant withdrawals, no wagering requirements, and a bonus on every deposit.",
            "You have been selected for VIP membership with exclusive rewards and cashback.",
            "Sign up in seconds and start winning real money right away.",
            "Lucky players won over $3 million last week alone.",
            "Your free spins expire at midnight, so log in now and claim them.",
            "Deposit with card, bank transfer or crypto and play instantly.",
            "The more you play the more you win, bet now.",
        ],
    },
    "offers": {
        "subjects": [
            "Luxury replica watches at 90% off", "Your FREE gift card is waiting", "Amazing deal - today only",
            "Get on the first page of Google", "We buy your car for cash", "Exclusive offer just for you",
            "Your computer may be infected",
        ],
        "body": [
            "Luxury replica watches and designer handbags at unbeatable prices, indistinguishable from the originals.",
            "You have been chosen to receive a $1000 gift card, just complete our short survey to claim it.",
            "We guarantee first page ranking on Google for your website in just 7 days.",
            "Our SEO experts will send massive traffic to your site and boost your sales overnight.",
            "Hurry, this incredible deal ends at midnight and will never be repeated.",
            "Your computer may be infected with dangerous viruses, call our technicians now for a free scan.",
            "Buy one get two free on all items while supplies last.",
            "Millions of targeted email addresses for your marketing campaign at an unbeatable price.",
            "We will buy your car for cash today, any make, any condition, no questions asked.",
            "Extend your car warranty now before it expires and avoid expensive repair bills.",
            "Click here to claim your free iPhone, only three left in stock.",
            "Order now and get free shipping plus a mystery bonus gift.",
            "This exclusive offer is only available to selected customers like you.",
            "Save big on cheap software licences, all genuine and delivered instantly.",
            "Do not delete this email, it contains a special offer reserved for you.",
        ],
    },
}

WHOLE = [
    """URGENT ATTENTION

Dear Friend,

I am Mrs. Aisha Bello, the wife of a late minister. I got your contact from a business directory and I decided to contact you because of the trust I have in you. I have $12,500,000 (Twelve Million Five Hundred Thousand US Dollars) deposited in a security company, and I need a reliable foreign partner to receive the funds.

You will be entitled to 30% of the total sum. Please reply urgently with your full name, address, telephone number and bank details so that we can proceed immediately. This transaction is 100% risk free.

Remain blessed,
Mrs. Aisha Bello""",
    """Your account will be closed

Dear Customer,

We have noticed several failed login attempts on your online banking account. For your safety we have limited your account access.

To restore access, please verify your identity by clicking on the secure link below and entering your card number, expiry date, security code and online banking password. If you do not complete the verification within 24 hours, your account will be permanently suspended.

We apologize for any inconvenience.

Online Security Department""",
    """MAKE MONEY FAST!!!

Hi there,

Are you tired of working 9 to 5 for someone else? What if I told you that you could make $3,000 a WEEK from home with just a laptop? No experience needed! No selling! No risk!

My secret system has helped thousands of ordinary people quit their jobs and achieve total financial freedom. But hurry, I can only accept 50 new members this month.

CLICK HERE NOW to get instant access for only $37!!!

To your success,
Jake""",
    """Cheap pills - no prescription

Hello,

Why pay more? Our online pharmacy offers top quality meds at the lowest prices on the net. No prescription needed, discreet packaging, fast worldwide shipping. Pain relief, sleeping pills, diet pills and more.

Order 3 packs and get 1 FREE! Visa, Mastercard and bitcoin accepted. 100% satisfaction guaranteed or your money back.

Visit our store today!""",
    """Bitcoin doubled overnight

Hello,

Last week I invested $500 with this new AI crypto trading platform and woke up to $4,200 in my account. I was skeptical too, but the profits are real and withdrawals are instant.

They are only accepting a limited number of new investors this month. Register now for free and claim your $250 bonus before all the spots are gone. Do not miss this once in a lifetime opportunity!

Cheers,
Daniel""",
    """Congratulations you have won

CONGRATULATIONS!!!

Your e-mail address has been selected as the winner of our annual online promotion and you have been awarded the sum of 850,000 EURO. Your ticket number is 4471-2209-81.

To receive your prize please contact our claims officer with your full name, country, phone number and a copy of your ID. Note that a handling fee must be paid before the funds can be released.

Yours faithfully,
Prize Notification Unit""",
]
